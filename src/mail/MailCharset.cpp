#include "MailCharset.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace smtpmail {

TCharsetText EncodeInCharset(const QString &text, const QString &charset)
{
    const QByteArray name = charset.toLatin1();
    QStringEncoder encoder(name.constData());
    if (encoder.isValid()) {
        QByteArray bytes = encoder.encode(text);
        if (!encoder.hasError())
            return {bytes, name};
    }
    return {text.toUtf8(), QByteArrayLiteral("utf-8")};
}

QString DecodeFromCharset(const QByteArray &bytes, const QByteArray &charset)
{
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

} // namespace smtpmail
