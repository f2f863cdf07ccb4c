#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// How the suite tells the encoding of a text file it reads (job files, the
// language file, reports): a file that starts with the UTF-8 byte-order
// mark, or whose bytes are valid UTF-8 and hold a non-ASCII character, is
// UTF-8; any other is code page 1251, the Windows build's. The mark is
// never part of the text.
namespace textencoding {

enum class Encoding { Cp1251, Utf8, Utf8WithMark };

// The byte-order mark as a character: a second mark after the first is
// kept in the text, so that the text is written back as it was read.
inline constexpr QChar MarkCharacter(0xFEFF);

struct DecodedText {
    QString text;
    Encoding encoding = Encoding::Cp1251;
};

DecodedText decode(const QByteArray &bytes);

// The bytes of the text in the encoding, the mark first for Utf8WithMark;
// nothing when a character has no form in it.
std::optional<QByteArray> encode(const QString &text, Encoding encoding);

struct EncodedText {
    QByteArray bytes;
    Encoding encoding = Encoding::Cp1251;
};

// The bytes of the text for a file that decode reads again: in the encoding
// when they read back as the same text in it; otherwise (code page 1251
// bytes that happen to be valid UTF-8 read as other letters) UTF-8 with the
// mark, which always reads back. Nothing when a character has no form in the
// encoding: such text is refused, never written in another encoding instead.
std::optional<EncodedText> encodeToReadBack(const QString &text, Encoding encoding);

} // namespace textencoding
