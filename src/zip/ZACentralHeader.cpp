#include "ZACentralHeader.h"

#include "zip/ZAByteOrder.h"
#include "zip/ZANameCodec.h"

#include <algorithm>
#include <vector>

namespace zacentral {

using namespace zarecords;
using zabytes::put;

namespace {

bool overflows(uint64_t value, bool forced)
{
    return forced || value >= Overflow32;
}

} // namespace

QByteArray fittingExtraFields(const QList<TZAExtraField> &fields, qsizetype taken)
{
    // The name's field goes before the foreign ones: readers need it to
    // show the entry by its name at all.
    const auto isName = [](const TZAExtraField &field) { return field.HeaderId == zanames::UnicodePathExtraId; };
    const auto sizeOf = [](const TZAExtraField &field) { return ExtraFieldHeadSize + field.Data.size(); };
    qsizetype room = MaxExtraLength - taken;
    std::vector<bool> kept(std::size_t(fields.size()), false);
    for (const bool names : {true, false}) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (isName(fields[i]) == names && sizeOf(fields[i]) <= room) {
                kept[std::size_t(i)] = true;
                room -= sizeOf(fields[i]);
            }
        }
    }
    QByteArray extra;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (!kept[std::size_t(i)])
            continue;
        put(extra, fields[i].HeaderId);
        put(extra, uint16_t(fields[i].Data.size()));
        extra += fields[i].Data;
    }
    return extra;
}

QByteArray encode(const TDirItem &item, uint32_t signature)
{
    const bool sizeOver = overflows(item.UncompressedSize, item.Zip64);
    const bool compressedOver = overflows(item.CompressedSize, item.Zip64);
    const bool offsetOver = overflows(item.LocalHeaderOffset, item.Zip64);
    const bool diskOver = item.DiskNumberStart >= Overflow16;

    QByteArray extra;
    if (sizeOver || compressedOver || offsetOver || diskOver) {
        const uint16_t size
            = uint16_t(8 * (int(sizeOver) + int(compressedOver) + int(offsetOver)) + (diskOver ? 4 : 0));
        put(extra, Zip64ExtraId);
        put(extra, size);
        if (sizeOver)
            put(extra, item.UncompressedSize);
        if (compressedOver)
            put(extra, item.CompressedSize);
        if (offsetOver)
            put(extra, item.LocalHeaderOffset);
        if (diskOver)
            put(extra, item.DiskNumberStart);
    }
    extra += fittingExtraFields(item.ExtraFields, extra.size());

    QByteArray out;
    out.reserve(CentralHeaderSize + item.EncodedName.size() + extra.size() + item.Comment.size());
    put(out, signature);
    put(out, item.VersionMadeBy);
    put(out, item.VersionNeeded);
    put(out, item.Flags);
    put(out, item.Method);
    put(out, item.ModTime);
    put(out, item.ModDate);
    put(out, item.Crc32);
    put(out, compressedOver ? Overflow32 : uint32_t(item.CompressedSize));
    put(out, sizeOver ? Overflow32 : uint32_t(item.UncompressedSize));
    put(out, uint16_t(item.EncodedName.size()));
    put(out, uint16_t(extra.size()));
    put(out, uint16_t(item.Comment.size()));
    put(out, diskOver ? Overflow16 : uint16_t(item.DiskNumberStart));
    put(out, item.InternalAttributes);
    put(out, item.ExternalAttributes);
    put(out, offsetOver ? Overflow32 : uint32_t(item.LocalHeaderOffset));
    out += item.EncodedName;
    out += extra;
    out += item.Comment;
    return out;
}

void readZip64Extra(const QByteArray &data, bool sizeOverflow, bool compressedOverflow, bool offsetOverflow,
                    bool diskOverflow, TDirItem &item)
{
    zabytes::Reader in(data);
    if (sizeOverflow && in.has(8))
        item.UncompressedSize = in.take<uint64_t>();
    if (compressedOverflow && in.has(8))
        item.CompressedSize = in.take<uint64_t>();
    if (offsetOverflow && in.has(8))
        item.LocalHeaderOffset = in.take<uint64_t>();
    if (diskOverflow && in.has(4))
        item.DiskNumberStart = in.take<uint32_t>();
}

QByteArray findExtraField(const QByteArray &extra, uint16_t id)
{
    zabytes::Reader extras(extra);
    while (extras.has(4)) {
        const uint16_t fieldId = extras.take<uint16_t>();
        const qsizetype fieldSize = std::min<qsizetype>(extras.take<uint16_t>(), extra.size() - extras.position());
        if (fieldId == id)
            return extra.mid(extras.position(), fieldSize);
        for (qsizetype i = 0; i < fieldSize; ++i)
            extras.take<uint8_t>();
    }
    return {};
}

bool readLocalSizes(const LocalHeader &header, const QByteArray &extra, TDirItem &item)
{
    const bool sizeOverflow = header.uncompressedSize == Overflow32;
    const bool compressedOverflow = header.compressedSize == Overflow32;
    item.UncompressedSize = header.uncompressedSize;
    item.CompressedSize = header.compressedSize;
    const QByteArray field = findExtraField(extra, Zip64ExtraId);
    if (field.isNull())
        return !sizeOverflow && !compressedOverflow;
    readZip64Extra(field, sizeOverflow, compressedOverflow, false, false, item);
    return qsizetype(8) * (int(sizeOverflow) + int(compressedOverflow)) <= field.size();
}

qsizetype decode(const QByteArray &data, qsizetype offset, uint32_t signature, bool oemNames, TDirItem &item)
{
    if (offset < 0 || data.size() - offset < CentralHeaderSize)
        return 0;
    zabytes::Reader in(data.constData() + offset, data.size() - offset);
    if (in.take<uint32_t>() != signature)
        return 0;
    item = TDirItem();
    item.VersionMadeBy = in.take<uint16_t>();
    item.VersionNeeded = in.take<uint16_t>();
    item.Flags = in.take<uint16_t>();
    item.Method = in.take<uint16_t>();
    item.ModTime = in.take<uint16_t>();
    item.ModDate = in.take<uint16_t>();
    item.Crc32 = in.take<uint32_t>();
    const uint32_t compressed = in.take<uint32_t>();
    const uint32_t uncompressed = in.take<uint32_t>();
    const uint16_t nameLength = in.take<uint16_t>();
    const uint16_t extraLength = in.take<uint16_t>();
    const uint16_t commentLength = in.take<uint16_t>();
    const uint16_t disk = in.take<uint16_t>();
    item.InternalAttributes = in.take<uint16_t>();
    item.ExternalAttributes = in.take<uint32_t>();
    const uint32_t offset32 = in.take<uint32_t>();
    item.CompressedSize = compressed;
    item.UncompressedSize = uncompressed;
    item.DiskNumberStart = disk;
    item.LocalHeaderOffset = offset32;

    const qsizetype total = CentralHeaderSize + nameLength + extraLength + commentLength;
    if (data.size() - offset < total)
        return 0;
    const char *tail = data.constData() + offset + CentralHeaderSize;
    item.EncodedName = QByteArray(tail, nameLength);
    const QByteArray extraBytes = QByteArray::fromRawData(tail + nameLength, extraLength);
    item.FileName = zanames::decodeName(item.EncodedName, item.Flags, zanames::madeByOf(item.VersionMadeBy, extraBytes),
                                        oemNames);

    zabytes::Reader extras(tail + nameLength, extraLength);
    while (extras.has(4)) {
        TZAExtraField field;
        field.HeaderId = extras.take<uint16_t>();
        const qsizetype size = std::min<qsizetype>(extras.take<uint16_t>(), extraLength - extras.position());
        field.Data = QByteArray(tail + nameLength + extras.position(), size);
        for (qsizetype i = 0; i < size; ++i)
            extras.take<uint8_t>();
        if (field.HeaderId == Zip64ExtraId) {
            readZip64Extra(field.Data, uncompressed == Overflow32, compressed == Overflow32, offset32 == Overflow32,
                           disk == Overflow16, item);
            item.HasZip64Extra = true;
        } else {
            if (field.HeaderId == zanames::UnicodePathExtraId) {
                const QString unicodeName = zanames::unicodePathName(field.Data, item.EncodedName);
                if (!unicodeName.isNull())
                    item.FileName = unicodeName;
            }
            item.ExtraFields.append(field);
        }
    }
    item.Comment = QByteArray(tail + nameLength + extraLength, commentLength);
    return total;
}

} // namespace zacentral
