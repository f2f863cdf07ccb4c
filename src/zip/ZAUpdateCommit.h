#pragma once

#include "zip/ZAEntryFeed.h"
#include "zip/ZARecords.h"
#include "zip/ZAStream.h"
#include "zip/ZATypes.h"
#include "zip/ZAUpdateSettings.h"

#include <QFile>

#include <memory>

class TZACommitContext;
class TZAReadAhead;
class TZADirManager;
struct TDirItem;

// One commit of an update transaction. The archive is rewritten in place
// from the first changed entry on; everything from there to the end is
// first saved to an "FC" tail file beside the archive, so that a failure or
// a cancel puts the archive (every volume of a set) back byte for byte, and
// unchanged entries are copied back from it.
// A note beside the archive names the tail until the new archive is on the
// disk, so that a process killed meanwhile leaves the old archive to the
// next open.
class TZAUpdateCommit {
public:
    TZAUpdateCommit(TZACommitContext &context, TZAUpdateSettings settings);
    ~TZAUpdateCommit();
    TZAUpdateCommit(const TZAUpdateCommit &) = delete;
    TZAUpdateCommit &operator=(const TZAUpdateCommit &) = delete;

    // False when the commit was cancelled or aborted and rolled back.
    bool Run();

private:
    qsizetype findFirstChangedItem() const;
    void chooseWritePosition(qsizetype &start);
    void saveArchiveTail();
    bool hasJournal() const;
    void deleteTailFile();
    void dropTail();
    void rollback();
    std::vector<TZAPlannedEntry> planEntries(qsizetype start) const;
    bool processUpdateItem(qsizetype index);
    void writeEntry(TDirItem &item, bool hasSource, qint64 sourceSize);
    void writeData(TDirItem &item, zarecords::LocalHeader &header, qint64 offset, qint64 sourceSize, bool localZip64);
    qsizetype copyKeptEntries(qsizetype first);
    qint64 measureSavedEntry(const TDirItem &saved, qint64 tailOffset, qint64 &headerLength);
    bool reportProgress(const TDirItem &item, qint64 bytesRead, qint64 sourceSize);

    TZACommitContext &m_context;
    const TZAUpdateSettings m_settings;
    TZADirManager &m_dir;
    TZAStream &m_stream;
    std::unique_ptr<TZAEntryFeed> m_feed;
    std::unique_ptr<QFile> m_tail;
    std::unique_ptr<TZAReadAhead> m_tailHeaders; // the tail, read for the kept entries' headers
    bool m_keepTail = false;
    qint64 m_writePos = 0;
    qint64 m_oldDirectoryStart = 0;
    TZAAction m_action = fxaIgnore;
    bool m_cancel = false;
    qint64 m_totalBytes = 0;
    qint64 m_bytesDone = 0;
    int m_entriesProcessed = 0;
};
