#include "ZAEntryCheck.h"

#include "zip/DirItem.h"
#include "zip/ZACentralHeader.h"
#include "zip/ZACrypt.h"
#include "zip/ZARecords.h"
#include "zip/ZAStreamIO.h"

#include <zlib.h>

#include <algorithm>
#include <optional>

using namespace zarecords;

namespace {

constexpr int RawDeflateWindowBits = -15;
constexpr qsizetype OutputBlock = qsizetype(256) * 1024;
constexpr int EncryptionHeaderSize = 12;

struct InflateStream {
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

// The compressed bytes of an entry, block by block, decrypted when the
// entry is encrypted.
class DataReader {
public:
    DataReader(QIODevice &stream, qint64 dataStart, uint64_t size, TZACipher *cipher)
        : m_stream(stream)
        , m_pos(dataStart)
        , m_size(size)
        , m_cipher(cipher)
    {
    }

    // Hands each block to take, which answers false to stop; false when the
    // data ends early or take stopped.
    template <typename Take>
    bool readAll(Take &&take)
    {
        uint64_t done = 0;
        while (done < m_size) {
            const qint64 n = qint64(std::min<uint64_t>(m_size - done, uint64_t(zastream::CopyBlockSize)));
            QByteArray block = zastream::readAt(m_stream, m_pos + qint64(done), n);
            if (block.size() != n)
                return false;
            done += uint64_t(n);
            if (m_cipher)
                m_cipher->DecryptBuffer(block.data(), block.size());
            if (!take(block))
                return false;
        }
        return true;
    }

private:
    QIODevice &m_stream;
    qint64 m_pos;
    uint64_t m_size;
    TZACipher *m_cipher;
};

bool storedIsWhole(DataReader &data, uint64_t size, const TDirItem &item)
{
    if (size != item.UncompressedSize)
        return false;
    uLong crc = crc32(0, nullptr, 0);
    const bool read = data.readAll([&](const QByteArray &block) {
        crc = crc32(crc, reinterpret_cast<const Bytef *>(block.constData()), uInt(block.size()));
        return true;
    });
    return read && uint32_t(crc) == item.Crc32;
}

bool deflatedIsWhole(DataReader &data, uint64_t size, const TDirItem &item)
{
    InflateStream inflater;
    if (!inflater.ready || size == 0)
        return false;
    z_stream &z = inflater.stream;
    QByteArray output(OutputBlock, Qt::Uninitialized);
    uLong crc = crc32(0, nullptr, 0);
    uint64_t produced = 0;
    bool ended = false;
    const bool read = data.readAll([&](const QByteArray &block) {
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

// The 12-byte header in front of encrypted data ends with a check byte: the
// CRC's high byte, or the time's when a data descriptor carries the CRC.
bool encryptionHeaderChecks(QIODevice &stream, qint64 dataStart, const TDirItem &item, TZACipher &cipher)
{
    QByteArray header = zastream::readAt(stream, dataStart, EncryptionHeaderSize);
    if (header.size() != EncryptionHeaderSize || item.CompressedSize < uint64_t(EncryptionHeaderSize))
        return false;
    cipher.DecryptBuffer(header.data(), header.size());
    const uint8_t expected = (item.Flags & FlagDataDescriptor) ? uint8_t(item.ModTime >> 8) : uint8_t(item.Crc32 >> 24);
    return uint8_t(header.at(EncryptionHeaderSize - 1)) == expected;
}

} // namespace

namespace zaentry {

bool LocalHeaderMatches(QIODevice &stream, qint64 pos, uint32_t signature, const TDirItem &item, LocalHeader *header)
{
    const qint64 nameLength = item.EncodedName.size();
    const QByteArray bytes = zastream::readAt(stream, pos, LocalHeaderSize + nameLength);
    LocalHeader read;
    if (!read.decode(bytes.left(LocalHeaderSize)) || bytes.size() != LocalHeaderSize + nameLength)
        return false;
    if (header)
        *header = read;
    if (read.signature != signature || read.nameLength != nameLength || bytes.mid(LocalHeaderSize) != item.EncodedName
        || read.method != item.Method)
        return false;
    if (read.flags & FlagDataDescriptor)
        return true;
    if (read.crc32 != item.Crc32)
        return false;
    // A size marked as overflowing must be there in the header's Zip64 extra.
    TDirItem sizes;
    const QByteArray extra = zastream::readAt(stream, pos + LocalHeaderSize + nameLength, read.extraLength);
    return extra.size() == read.extraLength && zacentral::readLocalSizes(read, extra, sizes)
        && sizes.CompressedSize == item.CompressedSize;
}

bool DataIsWhole(QIODevice &stream, qint64 dataStart, const TDirItem &item, const QByteArray &password)
{
    std::optional<TZACipher> cipher;
    uint64_t size = item.CompressedSize;
    if (item.Flags & FlagEncrypted) {
        if (password.isEmpty())
            return false;
        cipher.emplace(password);
        if (!encryptionHeaderChecks(stream, dataStart, item, *cipher))
            return false;
        dataStart += EncryptionHeaderSize;
        size -= EncryptionHeaderSize;
    }
    DataReader data(stream, dataStart, size, cipher ? &*cipher : nullptr);
    if (item.Method == MethodStored)
        return storedIsWhole(data, size, item);
    if (item.Method == MethodDeflated)
        return deflatedIsWhole(data, size, item);
    return false;
}

} // namespace zaentry
