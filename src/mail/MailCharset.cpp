#include "MailCharset.h"

#include "platform/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <optional>

namespace smtpmail {

namespace {

// Qt knows US-ASCII only through ICU; these are the names its converter
// answered to.
constexpr QByteArrayView UsAsciiNames[] = {"us-ascii", "ascii", "us", "ansi_x3.4-1968", "iso646-us", "csascii"};

bool namesUsAscii(QByteArrayView charset)
{
    return std::any_of(std::begin(UsAsciiNames), std::end(UsAsciiNames),
                       [charset](QByteArrayView name) { return charset.compare(name, Qt::CaseInsensitive) == 0; });
}

std::optional<QByteArray> encodeAscii(const QString &text)
{
    if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0x7F; }))
        return std::nullopt;
    return text.toLatin1();
}

// A byte outside ASCII is no character of US-ASCII: it reads as the
// replacement character, one for each byte.
QString decodeAscii(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text += byte & 0x80 ? QChar(QChar::ReplacementCharacter) : QChar(char16_t(byte));
    return text;
}

// UTF-8 and Latin-1 are Qt's own converters; any other charset needs Qt's
// ICU, and without it is unknown.
std::optional<QByteArray> encodeByQt(const QString &text, const QByteArray &charset)
{
    QStringEncoder encoder(charset.constData());
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> encodeIn(const QString &text, const QByteArray &charset)
{
    if (const std::optional<codepage::CodePage> page = codepage::forCharset(charset))
        return codepage::encode(text, *page);
    if (namesUsAscii(charset))
        return encodeAscii(text);
    return encodeByQt(text, charset);
}

} // namespace

TCharsetText EncodeInCharset(const QString &text, const QString &charset)
{
    const QByteArray name = charset.toLatin1();
    if (std::optional<QByteArray> bytes = encodeIn(text, name))
        return {*bytes, name};
    return {text.toUtf8(), QByteArrayLiteral("utf-8")};
}

QString DecodeFromCharset(const QByteArray &bytes, const QByteArray &charset)
{
    if (const std::optional<codepage::CodePage> page = codepage::forCharset(charset))
        return codepage::decode(bytes, *page);
    if (namesUsAscii(charset))
        return decodeAscii(bytes);
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

} // namespace smtpmail
