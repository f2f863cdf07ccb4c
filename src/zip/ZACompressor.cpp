#include "ZACompressor.h"

#include "ZACrypt.h"
#include "ZAExcept.h"
#include "ZAStreamIO.h"

#include <algorithm>

TZACompressor::Result TZACompressor::Compress(QIODevice &source, qint64 sourceSize,
                                              TZAStream &output, int level, qint64 blockSize,
                                              const QByteArray &password,
                                              const std::function<bool(qint64)> &progress)
{
    Result result;
    uLong crc = crc32(0L, Z_NULL, 0);
    m_input.resize(qsizetype(std::min(blockSize, std::max<qint64>(sourceSize, 1))));
    std::unique_ptr<TZACipher> cipher;
    QByteArray encrypted;
    if (!password.isEmpty()) {
        cipher = std::make_unique<TZACipher>(password);
        const QByteArray header = cipher->EncryptionHeader(crcOfSource(source, sourceSize));
        zastream::writeChecked(output, header);
        result.bytesWritten += uint64_t(header.size());
    }
    const auto sink = [&](const char *data, qsizetype size) {
        if (cipher) {
            encrypted = QByteArray(data, size);
            cipher->EncryptBuffer(encrypted.data(), size);
            data = encrypted.constData();
        }
        zastream::writeChecked(output, data, size);
        result.bytesWritten += uint64_t(size);
    };
    if (level > 0)
        m_deflater.Begin(level);
    while (qint64(result.bytesRead) < sourceSize) {
        if (progress && progress(qint64(result.bytesRead)))
            break;
        const qint64 wanted = std::min<qint64>(m_input.size(), sourceSize - qint64(result.bytesRead));
        const qint64 got = source.read(m_input.data(), wanted);
        if (got <= 0)
            break;
        crc = crc32(crc, reinterpret_cast<const Bytef *>(m_input.constData()), uInt(got));
        result.bytesRead += uint64_t(got);
        const bool last = qint64(result.bytesRead) == sourceSize;
        if (level > 0)
            m_deflater.Compress(m_input.constData(), got, last, sink);
        else
            sink(m_input.constData(), got);
    }
    result.crc32 = uint32_t(crc);
    return result;
}

uint32_t TZACompressor::crcOfSource(QIODevice &source, qint64 size)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    qint64 done = 0;
    while (done < size) {
        const qint64 got = source.read(m_input.data(), std::min<qint64>(m_input.size(), size - done));
        if (got <= 0)
            break;
        crc = crc32(crc, reinterpret_cast<const Bytef *>(m_input.constData()), uInt(got));
        done += got;
    }
    if (!source.seek(0))
        throw EZAException(zaconst::neSourceSizeChanged, {}, {QString::number(size), QString::number(done)});
    return uint32_t(crc);
}
