#pragma once

#include <QByteArray>
#include <QString>

#include <zlib.h>

#include <cstdint>

namespace platform {
class ReadOnlyFile;
}

// Each chunk is primed with the input before it, as much as deflate's window
// reaches, so that splitting an entry costs next to nothing in size.
inline constexpr qint64 ChunkDictionarySize = qint64(32) * 1024;

enum class TZAChunkStatus {
    Ok,
    SizeChanged, // the source's size is no longer the planned one
    OpenFailed,
    ReadFailed, // a short or failed read, or a compressor error
};

// One piece of an entry's data: where it lies in its source and, once made,
// its raw deflate bytes (or stored copy) and the CRC-32 of its input.
struct TZAChunk {
    QString path;
    qint64 sourceSize = 0;
    qint64 offset = 0;
    qint64 length = 0;
    int level = 0; // 0 stores

    TZAChunkStatus status = TZAChunkStatus::Ok;
    QByteArray data;
    uint32_t crc = 0;

    bool last() const { return offset + length == sourceSize; }
};

// Makes chunks. The output of a chunk depends only on its bytes, the window
// before it and the level, never on which thread or in which order chunks
// are made: that keeps an archive the same whatever the number of threads.
// Every chunk but the last ends with a sync flush, the last with the end of
// the stream, so the chunks of an entry joined are one valid deflate stream.
class TZAChunkMaker {
public:
    TZAChunkMaker();
    ~TZAChunkMaker();
    TZAChunkMaker(const TZAChunkMaker &) = delete;
    TZAChunkMaker &operator=(const TZAChunkMaker &) = delete;

    // Opens the chunk's source by its path and makes the chunk.
    void Make(TZAChunk &chunk);
    // Makes the chunk from a source that is already open.
    void Make(platform::ReadOnlyFile &source, TZAChunk &chunk);

    // The room a chunk's data needs at most; a chunk whose data has it
    // reserved is made without growing it.
    static qsizetype OutputCapacity(qint64 length, int level);

private:
    void deflateChunk(const char *input, qsizetype dictionary, qsizetype length, int level, bool last,
                      QByteArray &output);

    z_stream m_stream{};
    int m_level = Z_DEFAULT_COMPRESSION;
    QByteArray m_input;
};
