#pragma once

#include "ZAStream.h"
#include "ZAZlib.h"

#include <QByteArray>
#include <QIODevice>

#include <cstdint>
#include <functional>

// Streams one source into the archive: reads it in bounded blocks, keeps
// its CRC-32, stores or deflates each block and writes the result at once,
// so memory stays flat whatever the size of the source.
class TZACompressor
{
public:
    struct Result
    {
        uint32_t crc32 = 0;
        uint64_t bytesRead = 0;
        uint64_t bytesWritten = 0;
    };

    // level 0 stores, 1-9 deflate; a password encrypts (the source is then
    // read twice, since the header carries the CRC). progress gets the bytes read before each
    // block and answers true to stop; a stopped or short source shows as
    // bytesRead below sourceSize.
    Result Compress(QIODevice &source, qint64 sourceSize, TZAStream &output, int level,
                    qint64 blockSize, const QByteArray &password,
                    const std::function<bool(qint64)> &progress);

private:
    // The CRC-32 of the first size bytes of source, which is then rewound.
    uint32_t crcOfSource(QIODevice &source, qint64 size);

    TZADeflater m_deflater;
    QByteArray m_input;
};
