#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// Transfer encodings of mail bodies and of the AUTH LOGIN lines. They work on
// bytes: the caller chooses the charset before encoding.
namespace smtpmail {

// Base64 in lines of 76 characters, each ending in CR LF.
QByteArray EncodeBase64Stream(const QByteArray &source);
// Base64 on one line; line breaks become CR LF and one trailing break is dropped.
QByteArray EncodeBase64(const QByteArray &text);
// Decodes whole groups of four characters; an incomplete last group and
// everything from the first character outside the alphabet are ignored.
QByteArray DecodeBase64Line(QByteArrayView line);

// Quoted-printable; header mode also encodes the characters that are special
// in header fields and writes no line breaks.
QByteArray EncodeQuotedPrintable(const QByteArray &text, bool headerMode);
QByteArray DecodeQuotedPrintable(QByteArrayView text);

// The 6-bit value of a uuencoded character; nothing for a character outside
// the alphabet ("UUCODE message format error").
std::optional<quint8> UUDecodeChar(char character);
// The bytes of one uuencoded line without its line break; empty on a format error.
QByteArray UUDecodeLine(QByteArrayView line);

} // namespace smtpmail
