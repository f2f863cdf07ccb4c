#include "ZANameCodec.h"

#include "zip/ZAByteOrder.h"
#include "zip/ZARecords.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

const char *codePage(bool oemNames)
{
    return oemNames ? "IBM866" : "windows-1251";
}

bool isAscii(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

} // namespace

EncodedName encode(const QString &name, bool oemNames)
{
    if (isAscii(name))
        return {name.toLatin1(), false};
    QStringEncoder encoder(codePage(oemNames), QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(name);
    // The encoder replaces what the page lacks; a round trip tells.
    if (encoder.isValid() && !encoder.hasError()) {
        QStringDecoder decoder(codePage(oemNames));
        if (QString(decoder.decode(bytes)) == name)
            return {bytes, false};
    }
    return {name.toUtf8(), true};
}

QString decode(const QByteArray &bytes, uint16_t flags, bool oemNames)
{
    if (flags & zarecords::FlagUtf8Name)
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(codePage(oemNames));
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray unicodePathExtra(const QString &name, const QByteArray &bytes)
{
    if (isAscii(name))
        return {};
    const QByteArray utf8 = name.toUtf8();
    if (4 + UnicodePathHeadSize + utf8.size() > 0xFFFF)
        return {};
    QByteArray field;
    zabytes::put(field, UnicodePathExtraId);
    zabytes::put(field, uint16_t(UnicodePathHeadSize + utf8.size()));
    zabytes::put(field, UnicodePathVersion);
    zabytes::put(field, crcOf(bytes));
    return field + utf8;
}

QString unicodePathName(const QByteArray &data, const QByteArray &bytes)
{
    if (data.size() <= UnicodePathHeadSize || uint8_t(data.at(0)) != UnicodePathVersion
        || zabytes::get<uint32_t>(data.constData() + 1) != crcOf(bytes))
        return {};
    return QString::fromUtf8(data.constData() + UnicodePathHeadSize, data.size() - UnicodePathHeadSize);
}

} // namespace zanames
