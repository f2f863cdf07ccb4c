#include "ZAChunkMaker.h"

#include "ReadOnlyFile.h"
#include "ZAZlib.h"

#include <algorithm>

namespace {
constexpr int RawDeflateWindowBits = -15;
constexpr int MemoryLevel = 8;
// Room for a sync-flush marker and the block headers beyond deflateBound.
constexpr qsizetype OutputSlack = 64;
} // namespace

TZAChunkMaker::TZAChunkMaker()
{
    CheckZlibResult(deflateInit2(&m_stream, m_level, Z_DEFLATED, RawDeflateWindowBits, MemoryLevel,
                                 Z_DEFAULT_STRATEGY));
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

void TZAChunkMaker::Make(platform::ReadOnlyFile &source, TZAChunk &chunk)
{
    chunk.data.clear();
    if (source.size() != chunk.sourceSize) {
        chunk.status = TZAChunkStatus::SizeChanged;
        return;
    }
    const qint64 dictionary = chunk.level > 0 ? std::min(ChunkDictionarySize, chunk.offset) : 0;
    const qint64 wanted = dictionary + chunk.length;
    if (m_input.size() < wanted)
        m_input.resize(qsizetype(wanted));
    if (source.readAt(chunk.offset - dictionary, m_input.data(), wanted) != wanted) {
        chunk.status = TZAChunkStatus::ReadFailed;
        return;
    }
    const char *input = m_input.constData() + dictionary;
    chunk.crc = uint32_t(crc32(0L, reinterpret_cast<const Bytef *>(input), uInt(chunk.length)));
    try {
        if (chunk.level == 0)
            chunk.data = QByteArray(input, qsizetype(chunk.length));
        else
            deflateChunk(m_input.constData(), qsizetype(dictionary), qsizetype(chunk.length), chunk.level,
                         chunk.last(), chunk.data);
        chunk.status = TZAChunkStatus::Ok;
    } catch (const EZlibError &) {
        chunk.data.clear();
        chunk.status = TZAChunkStatus::ReadFailed;
    }
}

void TZAChunkMaker::deflateChunk(const char *input, qsizetype dictionary, qsizetype length, int level,
                                 bool last, QByteArray &output)
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
    output.resize(qsizetype(deflateBound(&m_stream, uLong(length))) + OutputSlack);
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
}
