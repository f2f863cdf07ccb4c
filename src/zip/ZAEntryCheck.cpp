#include "ZAEntryCheck.h"

#include "DirItem.h"
#include "ZARecords.h"
#include "ZAStreamIO.h"

#include <zlib.h>

#include <algorithm>

using namespace zarecords;

namespace {

constexpr int RawDeflateWindowBits = -15;
constexpr qsizetype OutputBlock = 256 * 1024;

struct InflateStream
{
    z_stream stream{};
    bool ready = false;
    InflateStream() { ready = inflateInit2(&stream, RawDeflateWindowBits) == Z_OK; }
    ~InflateStream()
    {
        if (ready)
            inflateEnd(&stream);
    }
    InflateStream(const InflateStream &) = delete;
    InflateStream &operator=(const InflateStream &) = delete;
};

// Reads the compressed bytes block by block and hands each to take, which
// answers false to stop; false when the data ends early.
template <typename Take>
bool readData(QIODevice &stream, qint64 dataStart, uint64_t size, Take &&take)
{
    uint64_t done = 0;
    while (done < size) {
        const qint64 n = qint64(std::min<uint64_t>(size - done, uint64_t(zastream::CopyBlockSize)));
        const QByteArray block = zastream::readAt(stream, dataStart + qint64(done), n);
        if (block.size() != n)
            return false;
        done += uint64_t(n);
        if (!take(block))
            return false;
    }
    return true;
}

bool storedIsWhole(QIODevice &stream, qint64 dataStart, const TDirItem &item)
{
    if (item.CompressedSize != item.UncompressedSize)
        return false;
    uLong crc = crc32(0, nullptr, 0);
    const bool read = readData(stream, dataStart, item.CompressedSize, [&](const QByteArray &block) {
        crc = crc32(crc, reinterpret_cast<const Bytef *>(block.constData()), uInt(block.size()));
        return true;
    });
    return read && uint32_t(crc) == item.Crc32;
}

bool deflatedIsWhole(QIODevice &stream, qint64 dataStart, const TDirItem &item)
{
    InflateStream inflater;
    if (!inflater.ready || item.CompressedSize == 0)
        return false;
    z_stream &z = inflater.stream;
    QByteArray output(OutputBlock, Qt::Uninitialized);
    uLong crc = crc32(0, nullptr, 0);
    uint64_t produced = 0;
    bool ended = false;
    const bool read = readData(stream, dataStart, item.CompressedSize, [&](const QByteArray &block) {
        // Bytes after the end of the deflate stream are not the entry's.
        if (ended)
            return true;
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(block.constData()));
        z.avail_in = uInt(block.size());
        do {
            z.next_out = reinterpret_cast<Bytef *>(output.data());
            z.avail_out = uInt(output.size());
            const int result = inflate(&z, Z_NO_FLUSH);
            if (result == Z_BUF_ERROR)
                break; // it needs the next block
            if (result != Z_OK && result != Z_STREAM_END)
                return false;
            const qsizetype made = output.size() - qsizetype(z.avail_out);
            crc = crc32(crc, reinterpret_cast<const Bytef *>(output.constData()), uInt(made));
            produced += uint64_t(made);
            if (produced > item.UncompressedSize)
                return false;
            ended = result == Z_STREAM_END;
        } while (!ended && (z.avail_in > 0 || z.avail_out == 0));
        return true;
    });
    return read && ended && produced == item.UncompressedSize && uint32_t(crc) == item.Crc32;
}

} // namespace

namespace zaentry {

bool LocalHeaderMatches(QIODevice &stream, qint64 pos, uint32_t signature, const TDirItem &item,
                        LocalHeader *header)
{
    const qint64 nameLength = item.EncodedName.size();
    const QByteArray bytes = zastream::readAt(stream, pos, LocalHeaderSize + nameLength);
    LocalHeader read;
    if (!read.decode(bytes.left(LocalHeaderSize)) || bytes.size() != LocalHeaderSize + nameLength)
        return false;
    if (header)
        *header = read;
    if (read.signature != signature || read.nameLength != nameLength
        || bytes.mid(LocalHeaderSize) != item.EncodedName || read.method != item.Method)
        return false;
    if (read.flags & FlagDataDescriptor)
        return true;
    const bool sizeInZip64 = read.compressedSize == Overflow32;
    return read.crc32 == item.Crc32 && (sizeInZip64 || read.compressedSize == item.CompressedSize);
}

bool DataIsWhole(QIODevice &stream, qint64 dataStart, const TDirItem &item)
{
    if (item.Flags & FlagEncrypted)
        return false;
    if (item.Method == MethodStored)
        return storedIsWhole(stream, dataStart, item);
    if (item.Method == MethodDeflated)
        return deflatedIsWhole(stream, dataStart, item);
    return false;
}

} // namespace zaentry
