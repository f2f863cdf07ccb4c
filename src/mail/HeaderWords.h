#pragma once

#include <QByteArray>
#include <QString>

// Encoded words of header fields: non-ASCII and special characters in a
// subject or a display name.
namespace smtpmail {

// The text unchanged when it needs no encoding, otherwise encoded words in
// quoted-printable, each at most 75 characters long and separated by blanks,
// so that folding can break between them and never inside one. The line
// that holds the first word already holds lead characters (its field name),
// and no header line with an encoded word may pass 76 characters.
QByteArray EncodeHeaderWord(const QByteArray &text, const QByteArray &charset, qsizetype lead = 0);

// EncodeHeaderWord of the text in the wanted charset (UTF-8 when it cannot hold the text).
QString EncodeHeaderText(const QString &text, const QString &charset, qsizetype lead = 0);

// The trimmed value with every encoded word decoded in its own charset;
// blanks between adjacent encoded words are dropped.
QString DecodeHeaderWords(const QString &value);

} // namespace smtpmail
