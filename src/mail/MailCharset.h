#pragma once

#include <QByteArray>
#include <QString>

namespace smtpmail {

// Text turned into bytes together with the charset that names those bytes.
struct TCharsetText {
    QByteArray bytes;
    QByteArray charset;
};

// The text in the wanted charset; a text that the charset cannot hold (a
// report line with a character outside code page 1251, say) is sent in UTF-8
// and declared so, so that no character is lost or mislabelled.
TCharsetText EncodeInCharset(const QString &text, const QString &charset);

// The bytes read in the named charset; an unknown charset reads as Latin-1.
QString DecodeFromCharset(const QByteArray &bytes, const QByteArray &charset);

} // namespace smtpmail
