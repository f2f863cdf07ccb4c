#pragma once

#include "zip/ZACommitContext.h"
#include "zip/ZACommitJournal.h"
#include "zip/ZADirManager.h"
#include "zip/ZAEvents.h"
#include "zip/ZAOptions.h"
#include "zip/ZASelectionContext.h"
#include "zip/ZASplitStream.h"
#include "zip/ZATypes.h"
#include "zip/ZAUpdateSettings.h"
#include "zip/ZAVolumeNames.h"

#include <QIODevice>
#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

namespace platform {
class FileWriteLock;
}

class TZAUpdateCommit;
class TZAFileSelector;

// Creates and updates ZIP archives: open, add files by masks inside an
// update bracket, commit, close. Failures raise EZAException; per-file
// failures go to OnProcessFileFailure.
//
// Default answers. When an event has no handler the archiver takes the safe
// answer without asking anyone: progress goes on; an overwrite question
// keeps the stored entry (and leaves OverwriteMode alone); a file failure
// aborts the commit, which rolls the archive back; a split set takes each
// volume under its own name next to the archive, and a missing volume, a
// spanned disk (nobody is there to change it) or a full disk cancels.
//
// Split volumes and a self-extractor stub are layers of the archive's
// stream (TZASplitStream, TZAStubStream); the writer only asks that records
// stay whole on one volume. A user interface that wants the questions asked
// assigns the handlers and shows its own dialogs from them.
//
// One writer per archive: from the open to the end of the commit the
// archive is locked against other processes (and other archivers); an open
// for writing that cannot have the lock within LockWaitMs fails with
// neArchiveInUse, one whose lock file cannot be had at all with
// neCannotLock; an open for reading goes on without it and leaves the
// recovery of a cut-short commit to the writer.
//
// An archive whose name is a link is made anew where the link leads.
//
// Each instance runs on one thread at a time; instances on different
// threads search for files side by side, as each search touches only the
// state of its own archiver.
class TZABaseArchiver : public QObject, private TZAVolumeHost, private TZASelectionContext, private TZACommitContext {
    Q_OBJECT

public:
    explicit TZABaseArchiver(QObject *owner = nullptr);
    ~TZABaseArchiver() override;

    // --- settings -------------------------------------------------------
    bool ExtractCorruptedFiles = false;
    QString Password;
    QString FileName;
    QString BaseDir;
    QString TempDir;
    QString SFXStub;
    TZASpanningOptions SpanningOptions;
    TZAOptions Options;
    QStringList FileMasks;
    QStringList ExclusionMasks;
    QStringList NoCompressionMasks;
    TZip64Mode Zip64Mode = zmAuto;
    bool RepairDirectoryOnOpen = true;
    // How long an open waits for another writer of the archive to finish.
    int LockWaitMs = 10000;
    // Every open makes a new archive that takes the old one's place only
    // when it is whole: it is built beside it under a name of its own, and
    // renamed over the old file (or set of volumes) once its commit is on
    // the disk. A commit that fails or is cancelled leaves the old archive
    // as it was.
    bool CreateAnew = false;

    TZACompressionLevel CompressionLevel() const { return m_compressionLevel; }
    void SetCompressionLevel(TZACompressionLevel level);
    int CompressionMode() const { return m_compressionMode; }
    // A mode of 10 or more raises neCompressionMode and keeps the old values.
    void SetCompressionMode(int mode);
    uint16_t CompressionMethod() const { return m_compressionMethod; }
    virtual void UpdateCompressionMethod();

    QString CurrentVersion() const;
    void SetCurrentVersion(const QString &) {}

    TZASpanningMode SpanningMode() const { return m_spanningMode; }
    // Raises while an archive is open.
    void SetSpanningMode(TZASpanningMode mode);

    bool InMemory() const { return m_inMemory; }
    void SetInMemory(bool inMemory);

    bool StandardSignatures() const { return m_standardSignatures; }

    // --- events ---------------------------------------------------------
    TZAFileProgressEvent OnFileProgress;
    TZAProgressEvent OnOverallProgress;
    TZACopyTempFileProgressEvent OnCopyTempFileProgress;
    TZAConfirmOverwriteEvent OnConfirmOverwrite;
    TZAConfirmProcessFileEvent OnConfirmProcessFile;
    TZANotifyEvent AfterOpen;
    TZAProcessFileFailureEvent OnProcessFileFailure;
    TZAOnRequestBlankVolumeEvent OnRequestBlankVolume;
    TZAOnRequestVolumeEvent OnRequestFirstVolume;
    TZAOnRequestVolumeEvent OnRequestLastVolume;
    TZAOnRequestMiddleVolumeEvent OnRequestMiddleVolume;
    TZAOnDiskFullEvent OnDiskFull;
    TZAOnStoreFileEvent OnStoreFile;

    // --- archive --------------------------------------------------------
    bool Active() const { return m_active; }
    void SetActive(bool active);
    void OpenArchive();
    void OpenArchiveMode(TZAFileMode mode);
    // Puts right, under the archive's lock, what a killed writer of it
    // left, without opening it: the next run that makes no archive (its
    // sources are gone) must still leave a whole one. Raises as an open for
    // writing does when the lock cannot be had.
    void RecoverArchive();
    // Commits a pending transaction and closes; never raises.
    void CloseArchive();
    TZAFileMode FileMode() const { return m_fileMode; }

    QString Comment() const;
    void SetComment(const QString &comment);

    void BeginUpdate();
    void EndUpdate();
    // Drops the pending transaction without committing; the items go back
    // to the state at BeginUpdate, so nothing half-made is committed later.
    void ResetUpdate();
    bool InUpdate() const { return m_updateCount > 0; }

    void AddFiles();

    // Copies count bytes (-1: the rest) from source into dest in blocks, each
    // written whole or failing with neWriteFailed. With showProgress the copy is
    // reported through OnCopyTempFileProgress, whose cancel stops it; false
    // when it was cancelled.
    bool CopyTempFileToDest(QIODevice &source, TZAStream &dest, qint64 count, bool showProgress) override;

    void CheckActive() const;
    void CheckMultiVolumeModification() const;

    // The directory of the open archive (null while closed).
    const TZADirManager *DirManager() const { return m_dirManager.get(); }

    static TZACompressionLevel ModeToLevel(int mode);
    static int LevelToMode(TZACompressionLevel level);

protected:
    // Dispatchers: call the handler when assigned, else the safe default.
    void DoOnOverallProgress(double progress, TZAProcessOperation operation, TZAProgressPhase phase,
                             bool &cancel) override;
    void DoOnFileProgress(const QString &fileName, double progress, TZAProcessOperation operation,
                          TZAProgressPhase phase, bool &cancel) override;
    void DoOnConfirmOverwrite(const QString &sourceFileName, QString &destFileName, bool &confirm) override;
    void DoOnConfirmProcessFile(const QString &fileName, TZAProcessOperation operation, bool &confirm) override;
    void DoOnProcessFileFailure(const QString &fileName, TZAProcessOperation operation, int nativeError, int errorCode,
                                const QString &errorMessage, TZAAction &action) override;
    virtual void DoOnCopyTempFileProgress(double progress, TZAProgressPhase phase, bool &cancel);
    // Volume numbers are 1-based here; the name comes filled in with the
    // volume's own name. An empty name counts as a cancel.
    virtual void DoOnRequestBlankVolume(int volumeNumber, QString &volumeFileName, bool &cancel);
    virtual void DoOnRequestFirstVolume(QString &volumeFileName, bool &cancel);
    virtual void DoOnRequestMiddleVolume(int volumeNumber, QString &volumeFileName, bool &cancel);
    virtual void DoOnDiskFull(int volumeNumber, const QString &volumeFileName, bool &cancel);
    void DoOnStoreFile(QString &fileName, uint32_t &fileAttr, QString &comment,
                       const QString &originalFileName) override;

    bool m_standardSignatures = false;
    uint16_t m_compressionMethod = 0xFFFF;

private:
    TZADirManager::Settings dirSettings() const;
    TZAUpdateSettings updateSettings() const;
    void open(std::optional<TZAFileMode> asked);
    TZAFileMode modeFound() const;
    void lockArchive(bool readOnly);
    bool lockHeld() const;
    // Raises neArchiveInUse or neCannotLock unless the lock is held.
    void requireLock() const;
    zajournal::Recovery recoverInterruptedWrite();
    void removeLeftovers();
    // The name a new archive is written under: its build name while it is
    // made anew, else its own.
    QString writeName() const { return m_buildName.isEmpty() ? FileName : m_buildName; }
    void placeBuiltArchive();
    void discardBuild();
    void openStream(TZAFileMode mode);
    void createNewArchive();
    void openExistingArchive(TZAFileMode mode);
    void openVolumeSet(const QString &lastName, int lastDisk, bool writable);
    QString requestExistingVolume(int index);
    zavolumes::Naming naming() const;

    // TZASelectionContext and TZACommitContext
    TZADirManager &Directory() override { return *m_dirManager; }
    TZAStream &Stream() override { return *m_stream; }
    QString &SearchBase() override { return m_searchBase; }

    // TZAVolumeHost
    BlankVolume RequestBlankVolume(int index) override;
    QString VolumeName(int index) const override;
    QString LastVolumeName() const override;

    void releaseStream();
    void commitUpdate();
    QString senderName() const { return objectName(); }

    TZACompressionLevel m_compressionLevel = clFastest;
    int m_compressionMode = 1;
    TZASpanningMode m_spanningMode = smNone;
    bool m_inMemory = false;
    bool m_active = false;
    int m_updateCount = 0;
    bool m_transactionEnded = false;
    TZAFileMode m_fileMode = TZAFileMode::Create;
    QString m_searchBase;
    bool m_upperCaseVolumes = false;
    QString m_buildName;
    std::unique_ptr<platform::FileWriteLock> m_lock;
    std::unique_ptr<TZAStream> m_stream;
    std::unique_ptr<TZADirManager> m_dirManager;
};

// The archiver of standard ZIP files.
class TZipArchiver : public TZABaseArchiver {
    Q_OBJECT

public:
    explicit TZipArchiver(QObject *owner = nullptr);

    void UpdateCompressionMethod() override;
};
