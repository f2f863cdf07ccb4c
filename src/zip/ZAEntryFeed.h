#pragma once

#include "zip/ZAChunkMaker.h"
#include "zip/ZACompressionQueue.h"

#include <memory>
#include <vector>

// Where the writer gets the data of the entries it writes: chunks made ahead
// by a pool of threads when the entry was planned, or made here on the
// writer's own thread (one thread, an entry asked for again after a
// failure, a source that changed since it was planned). Both give the same
// bytes. One entry is open at a time.
class TZAEntryFeed {
public:
    // Input bytes in flight at most (chunks being made or made and not yet
    // written). Beyond it each thread holds one chunk's input and output
    // and its compressor, whatever the sizes of the files.
    static constexpr qint64 Budget = 16LL << 20;

    // threads of 1 or less make every chunk on the calling thread.
    TZAEntryFeed(std::vector<TZAPlannedEntry> plan, int threads);
    ~TZAEntryFeed();
    TZAEntryFeed(const TZAEntryFeed &) = delete;
    TZAEntryFeed &operator=(const TZAEntryFeed &) = delete;

    // Opens an entry (plannedSize: its size when it was found). A source
    // that cannot be opened raises neCannotOpenFile. Size() is then the size
    // written.
    void Open(const QString &path, int level, qint64 chunkSize, qint64 plannedSize);
    qint64 Size() const { return m_size; }
    bool HasNext() const { return m_offset < m_size; }
    // The next chunk, made. A source that changed or failed while it was
    // read raises neSourceSizeChanged.
    TZAChunk Next();
    // True when the whole entry comes from the pool (so holding all its
    // chunks at once stays within the budget).
    bool Planned() const { return m_queued; }
    // The CRC-32 of the whole source, read once more from the disk; for an
    // entry that is not planned.
    uint32_t SourceCrc();
    // Ends the open entry; also after a failure or a cancel.
    void Close();

private:
    void openHere();
    [[noreturn]] void raiseChanged() const;

    std::unique_ptr<TZACompressionQueue> m_queue;
    TZAChunkMaker m_maker;
    std::unique_ptr<platform::ReadOnlyFile> m_file;
    QString m_path;
    int m_level = 0;
    qint64 m_chunkSize = 0;
    qint64 m_size = 0;
    qint64 m_offset = 0;
    bool m_queued = false;
    TZAChunk m_first; // the planned entry's first chunk, taken by Open
    bool m_haveFirst = false;
};
