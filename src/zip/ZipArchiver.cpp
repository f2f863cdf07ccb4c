#include "ZipArchiver.h"

#include "zip/ZACommitJournal.h"
#include "zip/ZAExcept.h"
#include "zip/ZAFileSelector.h"
#include "zip/ZANameCodec.h"
#include "zip/ZASetPlacement.h"
#include "zip/ZAStreamIO.h"
#include "zip/ZAStubStream.h"
#include "zip/ZATempFile.h"
#include "zip/ZAUpdateCommit.h"
#include "zip/ZAVolumeNumberInfo.h"

#include "platform/DriveInfo.h"
#include "platform/FileNames.h"
#include "platform/FileWriteLock.h"
#include "platform/SafeSave.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <stdexcept>

namespace {

// A volume is taken only where more than this is free.
constexpr qint64 MinVolumeFreeSpace = 65536;
// More volumes than any set of this component has; the numbered names
// stop making sense beyond.
constexpr int MaxVolumes = 1000;

bool hasNamePart(const QString &path)
{
    return !path.isEmpty() && !path.endsWith(u'/') && !path.endsWith(u'\\');
}

} // namespace

TZABaseArchiver::TZABaseArchiver(QObject *owner) : QObject(owner)
{
    SetCompressionLevel(clFastest);
}

TZABaseArchiver::~TZABaseArchiver()
{
    CloseArchive();
}

// --- settings -------------------------------------------------------------

TZACompressionLevel TZABaseArchiver::ModeToLevel(int mode)
{
    if (mode >= 1 && mode <= 3)
        return clFastest;
    if (mode >= 4 && mode <= 6)
        return clNormal;
    if (mode >= 7 && mode <= 9)
        return clMax;
    return clNone;
}

int TZABaseArchiver::LevelToMode(TZACompressionLevel level)
{
    switch (level) {
    case clNone: return 0;
    case clFastest: return 1;
    case clNormal: return 6;
    case clMax: return 9;
    }
    return 0;
}

void TZABaseArchiver::SetCompressionLevel(TZACompressionLevel level)
{
    m_compressionLevel = level;
    m_compressionMode = LevelToMode(level);
    UpdateCompressionMethod();
}

void TZABaseArchiver::SetCompressionMode(int mode)
{
    if (mode < 0 || mode >= 10)
        throw EZAException(zaconst::neCompressionMode, senderName());
    m_compressionMode = mode;
    m_compressionLevel = ModeToLevel(mode);
    UpdateCompressionMethod();
}

void TZABaseArchiver::UpdateCompressionMethod()
{
    m_compressionMethod = 0xFFFF;
}

QString TZABaseArchiver::CurrentVersion() const
{
    return QStringLiteral("2.76 ");
}

void TZABaseArchiver::SetSpanningMode(TZASpanningMode mode)
{
    if (m_active)
        throw std::runtime_error("Cannot set spanning mode on open archive");
    m_spanningMode = mode;
}

void TZABaseArchiver::SetInMemory(bool inMemory)
{
    if (inMemory == m_inMemory)
        return;
    if (m_active) {
        if (!inMemory) {
            if (!hasNamePart(FileName))
                throw EZAException(zaconst::neInMemoryNoFileName, senderName());
            const QByteArray data = zastream::readAt(*m_stream, 0, m_stream->size());
            CloseArchive();
            // A file already there stays whole unless the archive took its place.
            if (!platform::saveFile(FileName, data))
                throw EZAException(zaconst::neCannotCreateFile, senderName(), {FileName});
            m_inMemory = false;
            OpenArchive();
            return;
        }
        CloseArchive();
        m_inMemory = true;
        OpenArchive();
        return;
    }
    m_inMemory = inMemory;
}

TZAUpdateSettings TZABaseArchiver::updateSettings() const
{
    TZAUpdateSettings settings;
    settings.FileName = FileName;
    settings.BaseDir = BaseDir;
    settings.TempDir = TempDir;
    settings.Password = Password;
    settings.Options = Options;
    settings.NoCompressionMasks = NoCompressionMasks;
    settings.Zip64Mode = Zip64Mode;
    settings.InMemory = m_inMemory;
    settings.CompressionMode = m_compressionMode;
    settings.CompressionMethod = m_compressionMethod;
    settings.StandardSignatures = m_standardSignatures;
    return settings;
}

TZADirManager::Settings TZABaseArchiver::dirSettings() const
{
    TZADirManager::Settings settings;
    settings.signatures = m_standardSignatures ? zarecords::StandardSignatures : zarecords::AlternateSignatures;
    settings.oemNames = Options.OEMFileNames;
    settings.repairOnOpen = RepairDirectoryOnOpen;
    settings.password = Password.toLocal8Bit();
    return settings;
}

// --- opening and closing --------------------------------------------------

void TZABaseArchiver::SetActive(bool active)
{
    if (active == m_active)
        return;
    if (active)
        OpenArchive();
    else
        CloseArchive();
}

void TZABaseArchiver::OpenArchive()
{
    m_transactionEnded = false;
    if (!m_inMemory && !hasNamePart(FileName))
        throw EZAException(zaconst::neOpenBlankName, senderName());
    open(std::nullopt);
}

void TZABaseArchiver::OpenArchiveMode(TZAFileMode mode)
{
    m_transactionEnded = false;
    if (!m_inMemory && !hasNamePart(FileName))
        throw EZAException(zaconst::neOpenModeBlankName, senderName());
    if (mode != TZAFileMode::Create) {
        if (m_inMemory)
            throw EZAException(zaconst::neInMemoryOpenExisting, senderName(), {FileName});
        if (!QFileInfo::exists(FileName) && m_spanningMode != smSpanning && !platform::IsRemovableDrive(FileName))
            throw EZAException(zaconst::neArchiveNotFound, senderName(), {FileName});
    }
    open(mode);
}

// The lock comes first: what the archive holds, whether it is there at all
// and whether a commit was cut short is only known once no other writer
// can change it.
void TZABaseArchiver::open(std::optional<TZAFileMode> asked)
{
    CloseArchive();
    if (!m_inMemory)
        lockArchive(asked == TZAFileMode::ReadOnlyDenyNone);
    try {
        zajournal::Recovery recovery;
        if (lockHeld())
            recovery = recoverInterruptedWrite();
        TZAFileMode mode = asked ? *asked : modeFound();
        if (CreateAnew && !m_inMemory && (!asked || mode == TZAFileMode::Create)) {
            mode = TZAFileMode::Create;
            m_buildName = BuildFileName(ArchivePlace(FileName));
        }
        // Two writers at once would each cut and rewrite what the other
        // wrote.
        if (!m_inMemory && mode != TZAFileMode::ReadOnlyDenyNone)
            requireLock();
        m_fileMode = mode;
        openStream(mode);
        // Entries lost with a commit's tail are what a repair leaves out.
        if (recovery.lostEntries > 0) {
            m_dirManager->Repaired = true;
            m_dirManager->DroppedEntries += recovery.lostEntries;
        }
        m_active = true;
    } catch (...) {
        discardBuild();
        m_lock.reset();
        throw;
    }
    if (AfterOpen)
        AfterOpen(*this);
}

void TZABaseArchiver::RecoverArchive()
{
    CloseArchive();
    if (m_inMemory)
        return;
    lockArchive(false);
    try {
        requireLock();
        recoverInterruptedWrite();
    } catch (...) {
        m_lock.reset();
        throw;
    }
    m_lock.reset();
}

TZAFileMode TZABaseArchiver::modeFound() const
{
    if (m_inMemory || !QFileInfo::exists(FileName))
        return TZAFileMode::Create;
    QFile trial(FileName);
    return trial.open(QIODevice::ReadWrite) ? TZAFileMode::ReadWriteDenyWrite : TZAFileMode::ReadOnlyDenyNone;
}

// A reader neither waits nor fails for a writer; it only leaves the
// recovery of a cut-short commit to whoever holds the lock.
void TZABaseArchiver::lockArchive(bool readOnly)
{
    m_lock = std::make_unique<platform::FileWriteLock>(FileName, std::chrono::milliseconds(readOnly ? 0 : LockWaitMs));
    if (m_lock->state() == platform::FileWriteLock::State::InUse) {
        m_lock.reset();
        if (!readOnly)
            throw EZAException(zaconst::neArchiveInUse, senderName(), {QDir::toNativeSeparators(FileName)});
    }
}

bool TZABaseArchiver::lockHeld() const
{
    return m_lock && m_lock->state() == platform::FileWriteLock::State::Held;
}

void TZABaseArchiver::requireLock() const
{
    if (lockHeld())
        return;
    if (!m_lock)
        throw EZAException(zaconst::neArchiveInUse, senderName(), {QDir::toNativeSeparators(FileName)});
    throw EZAException(zaconst::neCannotLock, senderName(),
                       {QDir::toNativeSeparators(m_lock->path()), m_lock->failure()});
}

// A commit cut short by a killed process or a power loss is undone, and a
// new set of volumes half put in place is put in place whole, before
// anything reads the archive.
zajournal::Recovery TZABaseArchiver::recoverInterruptedWrite()
{
    zaplacement::Recover(ArchivePlace(FileName));
    const zajournal::Recovery recovery = zajournal::Recover(FileName);
    removeLeftovers();
    return recovery;
}

// What a killed writer of this archive left beside it: a tail that no note
// points to, and a new archive that was never put in place.
void TZABaseArchiver::removeLeftovers()
{
    if (!QFileInfo::exists(zajournal::NameFor(FileName)))
        QFile::remove(TailFileName(FileName));
    const QString built = BuildFileName(ArchivePlace(FileName));
    QFile::remove(built);
    for (const bool advanced : {false, true}) {
        const zavolumes::Naming names{smSplitting, advanced, !SFXStub.isEmpty(), false};
        QFile::remove(zavolumes::GetVolumeFileName(built, zavolumes::LastVolume, names));
        for (int index = 0; QFile::remove(zavolumes::GetVolumeFileName(built, index, names)); ++index) {}
    }
}

// The new archive is whole and on the disk: it takes the old one's place,
// where the archive's name leads.
void TZABaseArchiver::placeBuiltArchive()
{
    if (!zastream::syncToDisk(*m_stream))
        throw EZAException(zaconst::neWriteFailed);
    const zavolumes::Naming names = naming();
    releaseStream();
    m_active = false;
    const QString built = m_buildName;
    const QString place = ArchivePlace(FileName);
    if (m_spanningMode == smNone) {
        std::error_code error;
        std::filesystem::rename(platform::nativePath(built), platform::nativePath(place), error);
        if (error)
            throw EZAException(zaconst::neCannotCreateFile, senderName(), {QDir::toNativeSeparators(place)});
        if (!platform::syncFolder(QFileInfo(place).absolutePath()))
            throw EZAException(zaconst::neWriteFailed);
    } else {
        zaplacement::Plan plan;
        plan.oldLast = zavolumes::GetVolumeFileName(place, zavolumes::LastVolume, names);
        int index = 0;
        for (QString volume; QFileInfo::exists(volume = zavolumes::GetVolumeFileName(built, index, names)); ++index)
            plan.moves.append({volume, zavolumes::GetVolumeFileName(place, index, names)});
        for (int stale = index; stale < MaxVolumes; ++stale) {
            const QString volume = zavolumes::GetVolumeFileName(place, stale, names);
            if (QFileInfo::exists(volume))
                plan.stale << volume;
        }
        // A self-extracting set of one volume is its ".exe" alone.
        const QString builtLast = zavolumes::GetVolumeFileName(built, zavolumes::LastVolume, names);
        if (index == 0 || QFileInfo::exists(builtLast))
            plan.moves.append({builtLast, plan.oldLast});
        zaplacement::Carry(place, plan);
    }
    m_buildName.clear();
}

// A new archive that never became whole goes.
void TZABaseArchiver::discardBuild()
{
    if (m_buildName.isEmpty())
        return;
    releaseStream();
    m_active = false;
    removeLeftovers();
    m_buildName.clear();
}

void TZABaseArchiver::openStream(TZAFileMode mode)
{
    if (m_inMemory) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::ReadWrite);
        m_stream = std::make_unique<TZADeviceStream>(std::move(buffer));
        m_dirManager = std::make_unique<TZADirManager>(*m_stream, dirSettings());
        return;
    }
    if (mode == TZAFileMode::Create)
        createNewArchive();
    else
        openExistingArchive(mode);
    m_stream->SetShownName(QDir::toNativeSeparators(FileName));
}

zavolumes::Naming TZABaseArchiver::naming() const
{
    // A set is self-extracting by its stub or by its first volume's ".exe"
    // (which the naming sees in FileName). Where its first entry begins
    // says nothing: other tools' sets begin with a marker.
    return {m_spanningMode, SpanningOptions.AdvancedNaming, !SFXStub.isEmpty(), m_upperCaseVolumes};
}

void TZABaseArchiver::createNewArchive()
{
    m_upperCaseVolumes = false;
    if (m_spanningMode == smNone) {
        auto file = std::make_unique<QFile>(writeName());
        if (!file->open(QIODevice::ReadWrite | QIODevice::Truncate))
            throw EZAException(zaconst::neCannotCreateFile, senderName(), {FileName});
        m_stream = std::make_unique<TZADeviceStream>(std::move(file));
    } else {
        auto volumes = std::make_unique<TZASplitStream>(static_cast<TZAVolumeHost &>(*this));
        volumes->StartNew();
        m_stream = std::move(volumes);
    }
    // Named before the stub goes in: a disk too full for it names the archive.
    m_stream->SetShownName(QDir::toNativeSeparators(FileName));
    try {
        if (!SFXStub.isEmpty()) {
            TZAVolumeNumberInfo first;
            first.SetFirst(true);
            const TZAStubStream::Stub stub{SFXStub, m_spanningMode == smNone ? writeName() : VolumeName(0),
                                           m_spanningMode == smNone ? -1 : SpanningOptions.GetVolumeSize(first),
                                           senderName()};
            m_stream = std::make_unique<TZAStubStream>(std::move(m_stream), stub);
        }
        m_dirManager = std::make_unique<TZADirManager>(*m_stream, dirSettings());
    } catch (...) {
        releaseStream();
        throw;
    }
}

void TZABaseArchiver::openExistingArchive(TZAFileMode mode)
{
    m_spanningMode = smNone;
    const bool writable = mode != TZAFileMode::ReadOnlyDenyNone;
    const auto access = writable ? QIODevice::ReadWrite : QIODevice::ReadOnly;
    const auto openSingle = [&](const QString &name) {
        releaseStream();
        auto file = std::make_unique<QFile>(name);
        if (!file->open(access))
            throw EZAException(zaconst::neCannotOpenFile, senderName(), {name});
        m_stream = std::make_unique<TZADeviceStream>(std::move(file));
        m_dirManager = std::make_unique<TZADirManager>(*m_stream, dirSettings());
        return m_dirManager->FindEndRecord() >= 0;
    };
    try {
        bool found = openSingle(FileName);
        QString lastName = FileName;
        if (!found && zavolumes::IsExeName(FileName)) {
            // An ".exe" without an end record is the first volume of a
            // self-extracting set whose last volume is the ".ZIP" file.
            const QString zipName = zavolumes::GetVolumeFileName(FileName, zavolumes::LastVolume,
                                                                 {smSplitting, SpanningOptions.AdvancedNaming, true});
            if (QFileInfo::exists(zipName)) {
                lastName = zipName;
                found = openSingle(zipName);
            }
        }
        if (found && m_dirManager->LastDisk() > 0)
            openVolumeSet(lastName, int(m_dirManager->LastDisk()), writable);
        if (!m_dirManager->HasEndRecord())
            throw EZAException(zaconst::neNoEndRecord, senderName());
        m_dirManager->ReadCentralDir();
    } catch (...) {
        releaseStream();
        m_spanningMode = smNone;
        throw;
    }
}

// The end record lies on a later volume than the first: the earlier
// volumes are files in the same folder, under one of the two namings.
void TZABaseArchiver::openVolumeSet(const QString &lastName, int lastDisk, bool writable)
{
    m_spanningMode = smSplitting;
    // The naming asked for first, then the other, then ".Z01" volumes
    // beside a lower-case last volume, as sets were written before.
    const bool asked = SpanningOptions.AdvancedNaming;
    const std::pair<bool, bool> namings[] = {{asked, false}, {!asked, false}, {false, true}};
    for (const auto &[advanced, upperCase] : namings) {
        SpanningOptions.AdvancedNaming = advanced;
        m_upperCaseVolumes = upperCase;
        if (QFileInfo::exists(VolumeName(lastDisk - 1)))
            break;
        SpanningOptions.AdvancedNaming = asked;
        m_upperCaseVolumes = false;
    }
    QStringList names;
    for (int index = 0; index < lastDisk; ++index)
        names.append(requestExistingVolume(index));
    names.append(lastName);

    TZAVolumeNumberInfo last;
    last.LastNumber = lastDisk;
    last.SetLast(true);
    const qint64 lastSize = QFileInfo(lastName).size();
    const qint64 limit = SpanningOptions.GetVolumeSize(last);
    const qint64 room = lastSize + std::max<qint64>(platform::FreeSpace(lastName), 0);
    releaseStream();
    auto volumes = std::make_unique<TZASplitStream>(static_cast<TZAVolumeHost &>(*this));
    volumes->OpenExisting(names, writable, limit > 0 ? std::min(limit, room) : room);
    m_stream = std::move(volumes);
    m_dirManager = std::make_unique<TZADirManager>(*m_stream, dirSettings());
}

QString TZABaseArchiver::requestExistingVolume(int index)
{
    QString name = VolumeName(index);
    if (QFileInfo::exists(name))
        return name;
    bool cancel = false;
    if (index == 0)
        DoOnRequestFirstVolume(name, cancel);
    else
        DoOnRequestMiddleVolume(index + 1, name, cancel);
    if (cancel || name.isEmpty() || !QFileInfo::exists(name))
        throw EZAException(zaconst::neVolumeRequestCancelled, senderName());
    return name;
}

TZAVolumeHost::BlankVolume TZABaseArchiver::RequestBlankVolume(int index)
{
    TZAVolumeNumberInfo volume;
    if (index == 0)
        volume.SetFirst(true);
    else
        volume.SetNumber(index);
    const qint64 size = SpanningOptions.GetVolumeSize(volume);
    for (;;) {
        QString name = VolumeName(index);
        bool cancel = false;
        DoOnRequestBlankVolume(index + 1, name, cancel);
        if (cancel || name.isEmpty())
            throw EZAException(zaconst::neVolumeRequestCancelled, senderName());
        const qint64 free = platform::FreeSpace(name);
        if (free > MinVolumeFreeSpace && (size <= 0 || m_spanningMode == smSplitting || free >= size))
            return {name, size > 0 ? std::min(size, free) : free};
        // Only a disk that can be changed is worth asking for; a fixed one
        // is full, and the write fails as any write to a full disk does.
        if (!platform::IsRemovableDrive(name))
            throw EZAException(zaconst::neDiskFull, senderName(),
                               {QDir::toNativeSeparators(FileName), platform::DiskFullReason()});
        DoOnDiskFull(index + 1, name, cancel);
        if (cancel)
            throw EZAException(zaconst::neVolumeRequestCancelled, senderName());
    }
}

QString TZABaseArchiver::VolumeName(int index) const
{
    return zavolumes::GetVolumeFileName(writeName(), index, naming());
}

QString TZABaseArchiver::LastVolumeName() const
{
    return zavolumes::GetVolumeFileName(writeName(), zavolumes::LastVolume, naming());
}

void TZABaseArchiver::releaseStream()
{
    m_dirManager.reset();
    m_stream.reset();
}

void TZABaseArchiver::CloseArchive()
{
    if (m_active) {
        try {
            commitUpdate();
            // A new archive to which nothing was added still gets its end
            // record, after the stub when there is one.
            if (m_stream && m_stream->size() <= m_dirManager->BaseOffset && m_dirManager->Items.Count() == 0
                && m_fileMode != TZAFileMode::ReadOnlyDenyNone)
                m_dirManager->WriteCentralDir(true);
            if (m_stream && Options.FlushBuffers)
                zastream::syncToDisk(*m_stream);
        } catch (...) {
            // Closing must always close; the failure was the commit's to report.
        }
        m_active = false;
    }
    // Made anew but never committed: the old archive stays.
    discardBuild();
    releaseStream();
    m_lock.reset();
}

// --- comment --------------------------------------------------------------

QString TZABaseArchiver::Comment() const
{
    if (!m_dirManager)
        return {};
    const QByteArray &bytes = m_dirManager->Comment;
    return zanames::decode(bytes, 0, Options.OEMFileNames);
}

void TZABaseArchiver::SetComment(const QString &comment)
{
    CheckActive();
    CheckMultiVolumeModification();
    const zanames::EncodedName encoded = zanames::encode(comment, Options.OEMFileNames);
    const QByteArray bytes = encoded.bytes.left(zarecords::MaxCommentSize);
    // A job sets its comment at every run: the same comment again leaves
    // the file as it is, and with it the time it was last written, which
    // tells the files changed since (see TZAFileSelector).
    if (bytes == m_dirManager->Comment && !m_dirManager->Repaired && m_fileMode != TZAFileMode::Create)
        return;
    m_dirManager->Comment = bytes;
    if (!InUpdate() && m_spanningMode == smNone && m_fileMode != TZAFileMode::ReadOnlyDenyNone) {
        m_dirManager->WriteCentralDir(false);
        if (Options.FlushBuffers)
            zastream::syncToDisk(*m_stream);
    }
}

// --- update bracket -------------------------------------------------------

void TZABaseArchiver::BeginUpdate()
{
    if (m_spanningMode != smNone && m_transactionEnded)
        throw EZAException(zaconst::neSecondTransaction);
    if (m_updateCount == 0) {
        SetActive(true);
        if (m_fileMode == TZAFileMode::ReadOnlyDenyNone)
            throw EZAException(zaconst::neReadOnly, senderName());
        TZADirArray &items = m_dirManager->Items;
        for (qsizetype i = 0; i < items.Count(); ++i)
            items.ItemPtr(i).Modified = false;
        m_dirManager->SavedItems.CopyFrom(items);
    }
    ++m_updateCount;
}

void TZABaseArchiver::EndUpdate()
{
    if (m_updateCount <= 0)
        return;
    if (m_updateCount >= 2) {
        --m_updateCount;
        return;
    }
    m_transactionEnded = true;
    const bool wasCreated = m_fileMode == TZAFileMode::Create;
    commitUpdate();
    if (m_spanningMode != smNone && wasCreated)
        m_fileMode = TZAFileMode::ReadWriteDenyWrite;
}

void TZABaseArchiver::ResetUpdate()
{
    if (m_updateCount <= 0)
        return;
    m_updateCount = 0;
    if (m_dirManager)
        m_dirManager->Items.CopyFrom(m_dirManager->SavedItems);
}

void TZABaseArchiver::commitUpdate()
{
    if (m_updateCount <= 0)
        return;
    m_updateCount = 0;
    try {
        const bool committed = TZAUpdateCommit(*this, updateSettings()).Run();
        if (!m_buildName.isEmpty()) {
            if (committed)
                placeBuiltArchive();
            else
                discardBuild();
        }
    } catch (...) {
        discardBuild();
        throw;
    }
}

void TZABaseArchiver::AddFiles()
{
    CheckActive();
    CheckMultiVolumeModification();
    BeginUpdate();
    try {
        QStringList exclusions = ExclusionMasks;
        // An archive is never added to itself.
        if (!m_inMemory) {
            const QDir base(m_searchBase.isEmpty() ? QDir::currentPath() : m_searchBase);
            exclusions.append(QFileInfo(base, FileName).absoluteFilePath());
            exclusions.append(platform::FileWriteLock::lockFileName(QFileInfo(base, FileName).absoluteFilePath()));
            if (!m_buildName.isEmpty())
                exclusions.append(QFileInfo(base, m_buildName).absoluteFilePath());
        }
        TZAFileSelector(*this, updateSettings(), exclusions).AddFiles(FileMasks, Options.SearchAttr, Options.Recurse);
        EndUpdate();
    } catch (...) {
        ResetUpdate();
        throw;
    }
}

bool TZABaseArchiver::CopyTempFileToDest(QIODevice &source, TZAStream &dest, qint64 count, bool showProgress)
{
    if (!showProgress) {
        zastream::CopyTempFileToDest(source, dest, count);
        return true;
    }
    bool cancel = false;
    DoOnCopyTempFileProgress(0.0, ppStart, cancel);
    if (cancel)
        return false;
    zastream::CopyTempFileToDest(source, dest, count, [&](qint64 done, qint64 total) {
        DoOnCopyTempFileProgress(100.0 * double(done) / double(total), ppProcess, cancel);
        return cancel;
    });
    bool ignored = false;
    DoOnCopyTempFileProgress(100.0, ppEnd, ignored);
    return !cancel;
}

void TZABaseArchiver::CheckActive() const
{
    if (!m_active)
        throw EZAException(zaconst::neNotActive, senderName());
}

void TZABaseArchiver::CheckMultiVolumeModification() const
{
    if (!InUpdate() && m_spanningMode != smNone && m_dirManager && m_dirManager->Items.Count() > 0)
        throw EZAException(zaconst::neMultiVolumeModification, senderName());
}

// --- dispatchers ----------------------------------------------------------

void TZABaseArchiver::DoOnOverallProgress(double progress, TZAProcessOperation operation, TZAProgressPhase phase,
                                          bool &cancel)
{
    cancel = false;
    if (OnOverallProgress)
        OnOverallProgress(*this, progress, operation, phase, cancel);
}

void TZABaseArchiver::DoOnFileProgress(const QString &fileName, double progress, TZAProcessOperation operation,
                                       TZAProgressPhase phase, bool &cancel)
{
    cancel = false;
    if (OnFileProgress)
        OnFileProgress(*this, QDir::toNativeSeparators(fileName), progress, operation, phase, cancel);
}

void TZABaseArchiver::DoOnConfirmOverwrite(const QString &sourceFileName, QString &destFileName, bool &confirm)
{
    confirm = false;
    if (OnConfirmOverwrite)
        OnConfirmOverwrite(*this, sourceFileName, destFileName, confirm);
}

void TZABaseArchiver::DoOnConfirmProcessFile(const QString &fileName, TZAProcessOperation operation, bool &confirm)
{
    confirm = true;
    if (OnConfirmProcessFile)
        OnConfirmProcessFile(*this, fileName, operation, confirm);
}

void TZABaseArchiver::DoOnProcessFileFailure(const QString &fileName, TZAProcessOperation operation, int nativeError,
                                             int errorCode, const QString &errorMessage, TZAAction &action)
{
    if (!OnProcessFileFailure) {
        action = fxaAbort;
        return;
    }
    action = fxaIgnore;
    OnProcessFileFailure(*this, fileName, operation, nativeError, errorCode, errorMessage, action);
}

void TZABaseArchiver::DoOnCopyTempFileProgress(double progress, TZAProgressPhase phase, bool &cancel)
{
    cancel = false;
    if (OnCopyTempFileProgress)
        OnCopyTempFileProgress(*this, progress, phase, cancel);
}

// Without handlers a split set's volumes are taken where they are named;
// a spanned set would need a person to change disks, so it cancels.
void TZABaseArchiver::DoOnRequestBlankVolume(int volumeNumber, QString &volumeFileName, bool &cancel)
{
    cancel = m_spanningMode == smSpanning;
    if (OnRequestBlankVolume) {
        cancel = false;
        OnRequestBlankVolume(*this, volumeNumber, volumeFileName, cancel);
    }
}

void TZABaseArchiver::DoOnRequestFirstVolume(QString &volumeFileName, bool &cancel)
{
    cancel = false;
    if (OnRequestFirstVolume)
        OnRequestFirstVolume(*this, volumeFileName, cancel);
    else
        cancel = !QFileInfo::exists(volumeFileName);
}

void TZABaseArchiver::DoOnRequestMiddleVolume(int volumeNumber, QString &volumeFileName, bool &cancel)
{
    cancel = false;
    if (OnRequestMiddleVolume)
        OnRequestMiddleVolume(*this, volumeNumber, volumeFileName, cancel);
    else
        cancel = !QFileInfo::exists(volumeFileName);
}

void TZABaseArchiver::DoOnDiskFull(int volumeNumber, const QString &volumeFileName, bool &cancel)
{
    cancel = true;
    if (OnDiskFull) {
        cancel = false;
        OnDiskFull(*this, volumeNumber, volumeFileName, cancel);
    }
}

void TZABaseArchiver::DoOnStoreFile(QString &fileName, uint32_t &fileAttr, QString &comment,
                                    const QString &originalFileName)
{
    if (!OnStoreFile)
        return;
    fileName = QDir::toNativeSeparators(fileName);
    OnStoreFile(*this, fileName, fileAttr, comment, originalFileName);
    // Entry names have "/" alone, whatever the handler's system writes.
    fileName.replace(u'\\', u'/');
}

// --- TZipArchiver ---------------------------------------------------------

TZipArchiver::TZipArchiver(QObject *owner) : TZABaseArchiver(owner)
{
    m_standardSignatures = true;
    Zip64Mode = zmDisabled;
    UpdateCompressionMethod();
}

void TZipArchiver::UpdateCompressionMethod()
{
    m_compressionMethod = CompressionMode() != 0 ? 8 : 0;
}
