#include "ZAZlib.h"

namespace {
constexpr int RawDeflateWindowBits = -15;
constexpr int MemoryLevel = 8;
constexpr qsizetype OutputBlock = 256 * 1024;
} // namespace

int CheckZlibResult(int result)
{
    if (result < 0)
        throw ECompressionError();
    return result;
}

TZADeflater::TZADeflater() : m_output(OutputBlock, Qt::Uninitialized)
{
    CheckZlibResult(deflateInit2(&m_stream, m_level, Z_DEFLATED, RawDeflateWindowBits, MemoryLevel,
                                 Z_DEFAULT_STRATEGY));
}

TZADeflater::~TZADeflater()
{
    deflateEnd(&m_stream);
}

void TZADeflater::Begin(int level)
{
    CheckZlibResult(deflateReset(&m_stream));
    if (level != m_level) {
        CheckZlibResult(deflateParams(&m_stream, level, Z_DEFAULT_STRATEGY));
        m_level = level;
    }
}

void TZADeflater::Compress(const char *data, qsizetype size, bool finish,
                           const std::function<void(const char *, qsizetype)> &sink)
{
    m_stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
    m_stream.avail_in = uInt(size);
    const int flush = finish ? Z_FINISH : Z_NO_FLUSH;
    int result = Z_OK;
    do {
        m_stream.next_out = reinterpret_cast<Bytef *>(m_output.data());
        m_stream.avail_out = uInt(m_output.size());
        result = deflate(&m_stream, flush);
        // No room was needed after a full buffer: not an error.
        if (result == Z_BUF_ERROR)
            return;
        CheckZlibResult(result);
        const qsizetype produced = m_output.size() - qsizetype(m_stream.avail_out);
        if (produced > 0)
            sink(m_output.constData(), produced);
    } while (m_stream.avail_out == 0 || (finish && result != Z_STREAM_END));
}
