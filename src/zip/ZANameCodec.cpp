#include "ZANameCodec.h"

#include "ZARecords.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace zanames {

namespace {

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

} // namespace zanames
