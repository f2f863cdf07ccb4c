#include "ZARecords.h"

#include "ZAByteOrder.h"

namespace zarecords {

using zabytes::put;

QByteArray LocalHeader::encode() const
{
    QByteArray out;
    out.reserve(LocalHeaderSize);
    put(out, signature);
    put(out, versionNeeded);
    put(out, flags);
    put(out, method);
    put(out, modTime);
    put(out, modDate);
    put(out, crc32);
    put(out, compressedSize);
    put(out, uncompressedSize);
    put(out, nameLength);
    put(out, extraLength);
    return out;
}

bool LocalHeader::decode(const QByteArray &bytes)
{
    zabytes::Reader in(bytes);
    signature = in.take<uint32_t>();
    versionNeeded = in.take<uint16_t>();
    flags = in.take<uint16_t>();
    method = in.take<uint16_t>();
    modTime = in.take<uint16_t>();
    modDate = in.take<uint16_t>();
    crc32 = in.take<uint32_t>();
    compressedSize = in.take<uint32_t>();
    uncompressedSize = in.take<uint32_t>();
    nameLength = in.take<uint16_t>();
    extraLength = in.take<uint16_t>();
    return !in.failed();
}

QByteArray EndRecord::encode() const
{
    QByteArray out;
    out.reserve(EndRecordSize);
    put(out, signature);
    put(out, thisDisk);
    put(out, directoryDisk);
    put(out, entriesOnDisk);
    put(out, totalEntries);
    put(out, directorySize);
    put(out, directoryOffset);
    put(out, commentLength);
    return out;
}

bool EndRecord::decode(const QByteArray &bytes)
{
    zabytes::Reader in(bytes);
    signature = in.take<uint32_t>();
    thisDisk = in.take<uint16_t>();
    directoryDisk = in.take<uint16_t>();
    entriesOnDisk = in.take<uint16_t>();
    totalEntries = in.take<uint16_t>();
    directorySize = in.take<uint32_t>();
    directoryOffset = in.take<uint32_t>();
    commentLength = in.take<uint16_t>();
    return !in.failed();
}

QByteArray Zip64EndRecord::encode() const
{
    QByteArray out;
    out.reserve(Zip64EndRecordSize);
    put(out, signature);
    put(out, recordSize);
    put(out, versionMadeBy);
    put(out, versionNeeded);
    put(out, thisDisk);
    put(out, directoryDisk);
    put(out, entriesOnDisk);
    put(out, totalEntries);
    put(out, directorySize);
    put(out, directoryOffset);
    return out;
}

bool Zip64EndRecord::decode(const QByteArray &bytes)
{
    zabytes::Reader in(bytes);
    signature = in.take<uint32_t>();
    recordSize = in.take<uint64_t>();
    versionMadeBy = in.take<uint16_t>();
    versionNeeded = in.take<uint16_t>();
    thisDisk = in.take<uint32_t>();
    directoryDisk = in.take<uint32_t>();
    entriesOnDisk = in.take<uint64_t>();
    totalEntries = in.take<uint64_t>();
    directorySize = in.take<uint64_t>();
    directoryOffset = in.take<uint64_t>();
    return !in.failed();
}

QByteArray Zip64Locator::encode() const
{
    QByteArray out;
    out.reserve(Zip64LocatorSize);
    put(out, signature);
    put(out, zip64EndDisk);
    put(out, zip64EndOffset);
    put(out, totalDisks);
    return out;
}

bool Zip64Locator::decode(const QByteArray &bytes)
{
    zabytes::Reader in(bytes);
    signature = in.take<uint32_t>();
    zip64EndDisk = in.take<uint32_t>();
    zip64EndOffset = in.take<uint64_t>();
    totalDisks = in.take<uint32_t>();
    return !in.failed();
}

} // namespace zarecords
