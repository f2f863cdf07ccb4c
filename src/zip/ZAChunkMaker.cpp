#include "ZAChunkMaker.h"

#include "platform/ReadOnlyFile.h"
#include "zip/ZAZlib.h"

#include <algorithm>

namespace {
constexpr int RawDeflateWindowBits = -15;
constexpr int MemoryLevel = 8;
// Room for a sync-flush marker and the block headers beyond deflateBound.
constexpr qsizetype OutputSlack = 64;
} // namespace

TZAChunkMaker::TZAChunkMaker()
{
    CheckZlibResult(
        deflateInit2(&m_stream, m_level, Z_DEFLATED, RawDeflateWindowBits, MemoryLevel, Z_DEFAULT_STRATEGY));
}

TZAChunkMaker::~TZAChunkMaker()
{
    deflateEnd(&m_stream);
}

void TZAChunkMaker::Make(TZAChunk &chunk)
{
    platform::ReadOnlyFile source(chunk.path);
    if (!source.isOpen()) {
        chunk.status = TZAChunkStatus::OpenFailed;
        return;
    }
    Make(source, chunk);
}

qsizetype TZAChunkMaker::OutputCapacity(qint64 length, int level)
{
    if (level == 0)
        return qsizetype(length);
    // deflate's own bound for its default window and memory level.
    return qsizetype(length + (length >> 12) + (length >> 14) + (length >> 25) + 13 + OutputSlack);
}

void TZAChunkMaker::Make(platform::ReadOnlyFile &source, TZAChunk &chunk)
{
    chunk.data.resize(0); // keeps the room the chunk came with
    if (source.size() != chunk.sourceSize) {
        chunk.status = TZAChunkStatus::SizeChanged;
        return;
    }
    // A stored chunk is read straight into its own data: no second copy of
    // it is ever held.
    const bool stored = chunk.level == 0;
    const qint64 dictionary = stored ? 0 : std::min(ChunkDictionarySize, chunk.offset);
    const qint64 wanted = dictionary + chunk.length;
    QByteArray &buffer = stored ? chunk.data : m_input;
    if (buffer.size() < wanted)
        buffer.resize(qsizetype(wanted));
    if (source.readAt(chunk.offset - dictionary, buffer.data(), wanted) != wanted) {
        chunk.data.clear();
        chunk.status = TZAChunkStatus::ReadFailed;
        return;
    }
    const char *input = buffer.constData() + dictionary;
    chunk.crc = uint32_t(crc32(0L, reinterpret_cast<const Bytef *>(input), uInt(chunk.length)));
    if (stored) {
        chunk.status = TZAChunkStatus::Ok;
        return;
    }
    try {
        deflateChunk(m_input.constData(), qsizetype(dictionary), qsizetype(chunk.length), chunk.level, chunk.last(),
                     chunk.data);
        chunk.status = TZAChunkStatus::Ok;
    } catch (const EZlibError &) {
        chunk.data.clear();
        chunk.status = TZAChunkStatus::ReadFailed;
    }
}

void TZAChunkMaker::deflateChunk(const char *input, qsizetype dictionary, qsizetype length, int level, bool last,
                                 QByteArray &output)
{
    CheckZlibResult(deflateReset(&m_stream));
    if (level != m_level) {
        CheckZlibResult(deflateParams(&m_stream, level, Z_DEFAULT_STRATEGY));
        m_level = level;
    }
    if (dictionary > 0)
        CheckZlibResult(deflateSetDictionary(&m_stream, reinterpret_cast<const Bytef *>(input), uInt(dictionary)));
    m_stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(input + dictionary));
    m_stream.avail_in = uInt(length);
    output.resize(OutputCapacity(length, level));
    const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
    qsizetype produced = 0;
    for (;;) {
        m_stream.next_out = reinterpret_cast<Bytef *>(output.data() + produced);
        m_stream.avail_out = uInt(output.size() - produced);
        const int result = deflate(&m_stream, flush);
        // A full output buffer is no error: it grows and the call repeats.
        if (result != Z_BUF_ERROR || m_stream.avail_out > 0)
            CheckZlibResult(result);
        produced = output.size() - qsizetype(m_stream.avail_out);
        const bool done = last ? result == Z_STREAM_END : m_stream.avail_in == 0 && m_stream.avail_out > 0;
        if (done)
            break;
        output.resize(output.size() * 2);
    }
    output.resize(produced);
    // The room for the worst case is given back while the chunk waits for
    // the writer.
    if (produced < output.capacity() / 2)
        output.squeeze();
}
