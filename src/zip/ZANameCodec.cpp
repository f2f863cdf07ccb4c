#include "ZANameCodec.h"

#include "platform/CodePage.h"
#include "zip/ZAByteOrder.h"
#include "zip/ZACentralHeader.h"
#include "zip/ZARecords.h"

#include <QStringDecoder>

#include <optional>

#include <zlib.h>

namespace zanames {

namespace {

constexpr uint8_t UnicodePathVersion = 1;
// Version and CRC-32 before the UTF-8 name.
constexpr qsizetype UnicodePathHeadSize = 5;

uint32_t crcOf(const QByteArray &bytes)
{
    return uint32_t(crc32(0L, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(bytes.size())));
}

codepage::CodePage codePage(bool oemNames)
{
    return oemNames ? codepage::CodePage::Dos866 : codepage::CodePage::Windows1251;
}

bool isAscii(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

// The systems whose names are in a code page: MS-DOS (FAT), Windows NTFS
// and VFAT, and 11, which this archiver writes for names in the ANSI code
// page.
bool namesInCodePage(uint16_t madeBy)
{
    switch (madeBy >> 8) {
    case 0:
    case 10:
    case 11:
    case 14: return true;
    default: return false;
    }
}

constexpr uint16_t MadeOnUnix = 3 << 8;
// PKWARE's Unix field, Info-ZIP's Unix fields old and new.
constexpr uint16_t UnixExtraIds[] = {0x000D, 0x5855, 0x7875};

std::optional<QString> validUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

EncodedName encode(const QString &name, bool oemNames)
{
    if (std::optional<QByteArray> bytes = codepage::encode(name, codePage(oemNames)))
        return {*bytes, false};
    return {name.toUtf8(), true};
}

QString decode(const QByteArray &bytes, uint16_t flags, bool oemNames)
{
    if (flags & zarecords::FlagUtf8Name)
        return QString::fromUtf8(bytes);
    return codepage::decode(bytes, codePage(oemNames));
}

QString decodeName(const QByteArray &bytes, uint16_t flags, uint16_t madeBy, bool oemNames)
{
    if (!(flags & zarecords::FlagUtf8Name) && !namesInCodePage(madeBy)) {
        if (std::optional<QString> text = validUtf8(bytes))
            return *text;
    }
    return decode(bytes, flags, oemNames);
}

uint16_t madeByOf(uint16_t madeBy, const QByteArray &extra)
{
    for (const uint16_t id : UnixExtraIds) {
        if (!zacentral::findExtraField(extra, id).isNull())
            return MadeOnUnix;
    }
    return madeBy;
}

QList<TZAExtraField> fieldsNamingTheEntry(const QByteArray &extra)
{
    QList<TZAExtraField> fields;
    for (const uint16_t id : {UnicodePathExtraId, UnixExtraIds[0], UnixExtraIds[1], UnixExtraIds[2]}) {
        const QByteArray data = zacentral::findExtraField(extra, id);
        if (!data.isNull())
            fields.append({id, data});
    }
    return fields;
}

void nameItem(TDirItem &item, const QString &name, bool oemNames)
{
    const EncodedName encoded = encode(name, oemNames);
    item.FileName = name;
    item.EncodedName = encoded.bytes;
    if (encoded.utf8)
        item.Flags |= zarecords::FlagUtf8Name;
    if (isAscii(name))
        return;
    const QByteArray utf8 = name.toUtf8();
    if (zarecords::ExtraFieldHeadSize + UnicodePathHeadSize + utf8.size() > zarecords::MaxExtraLength)
        return;
    TZAExtraField field;
    field.HeaderId = UnicodePathExtraId;
    zabytes::put(field.Data, UnicodePathVersion);
    zabytes::put(field.Data, crcOf(encoded.bytes));
    field.Data += utf8;
    item.ExtraFields.append(field);
}

QString unicodePathName(const QByteArray &data, const QByteArray &bytes)
{
    if (data.size() <= UnicodePathHeadSize || uint8_t(data.at(0)) != UnicodePathVersion
        || zabytes::get<uint32_t>(data.constData() + 1) != crcOf(bytes))
        return {};
    return QString::fromUtf8(data.constData() + UnicodePathHeadSize, data.size() - UnicodePathHeadSize);
}

} // namespace zanames
