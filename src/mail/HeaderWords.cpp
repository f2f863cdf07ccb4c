#include "HeaderWords.h"

#include "mail/MailCharset.h"
#include "mail/MailEncodings.h"

#include <QList>

namespace smtpmail {

namespace {

constexpr qsizetype maxWordLength = 75;
constexpr qsizetype maxLineLength = 76;

// Inside a display name only these stay literal in an encoded word.
bool isWordLiteral(uchar c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' || c == '*'
        || c == '+' || c == '-' || c == '/';
}

QByteArray encodeCharacter(QByteArrayView bytes)
{
    QByteArray out;
    for (const char byte : bytes) {
        const uchar c = uchar(byte);
        if (isWordLiteral(c))
            out += byte;
        else
            out += '=' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
    }
    return out;
}

// Length of the character that starts at pos: a UTF-8 sequence stays in one word.
qsizetype characterLength(const QByteArray &text, qsizetype pos, bool utf8)
{
    qsizetype length = 1;
    if (utf8)
        while (pos + length < text.size() && (uchar(text[pos + length]) & 0xC0) == 0x80)
            ++length;
    return length;
}

QByteArray decodeWordText(char encoding, const QByteArray &text)
{
    switch (encoding) {
    case 'B':
    case 'b': return QByteArray::fromBase64(text);
    case 'U':
    case 'u': {
        QByteArray out;
        for (const QByteArray &line : text.split('\n'))
            out += UUDecodeLine(line.trimmed());
        return out;
    }
    default: {
        QByteArray spaced = text;
        spaced.replace('_', ' ');
        return DecodeQuotedPrintable(spaced);
    }
    }
}

struct WordSpan {
    qsizetype start = -1;
    qsizetype end = -1; // after the closing "?="
    QByteArray charset;
    char encoding = 'Q';
    QByteArray text;
};

WordSpan findWord(const QString &value, qsizetype from)
{
    WordSpan word;
    const qsizetype start = value.indexOf(u"=?", from);
    if (start < 0)
        return word;
    const qsizetype charsetEnd = value.indexOf(u'?', start + 2);
    if (charsetEnd < 0 || charsetEnd + 2 >= value.size() || value[charsetEnd + 2] != u'?')
        return word;
    const qsizetype textEnd = value.indexOf(u"?=", charsetEnd + 3);
    if (textEnd < 0)
        return word;
    word.start = start;
    word.end = textEnd + 2;
    word.charset = value.mid(start + 2, charsetEnd - start - 2).toLatin1();
    word.encoding = value[charsetEnd + 1].toLatin1();
    word.text = value.mid(charsetEnd + 3, textEnd - charsetEnd - 3).toLatin1();
    return word;
}

} // namespace

QByteArray EncodeHeaderWord(const QByteArray &text, const QByteArray &charset, qsizetype lead)
{
    if (EncodeQuotedPrintable(text, true) == text)
        return text;
    const QByteArray prefix = "=?" + charset + "?Q?";
    const auto roomIn
        = [&prefix](qsizetype wordLength) { return std::max<qsizetype>(wordLength - prefix.size() - 2, 12); };
    // Later words begin a folded line of their own, after its tab.
    qsizetype room = roomIn(std::min(maxWordLength, maxLineLength - lead));
    const bool utf8
        = charset.compare("utf-8", Qt::CaseInsensitive) == 0 || charset.compare("utf8", Qt::CaseInsensitive) == 0;

    QByteArray out;
    QByteArray payload;
    for (qsizetype pos = 0; pos < text.size();) {
        const qsizetype length = characterLength(text, pos, utf8);
        const QByteArray encoded = encodeCharacter(QByteArrayView(text).sliced(pos, length));
        if (!payload.isEmpty() && payload.size() + encoded.size() > room) {
            out += prefix + payload + "?= ";
            payload.clear();
            room = roomIn(maxWordLength);
        }
        payload += encoded;
        pos += length;
    }
    out += prefix + payload + "?=";
    return out;
}

QString EncodeHeaderText(const QString &text, const QString &charset, qsizetype lead)
{
    const TCharsetText encoded = EncodeInCharset(text, charset);
    return QString::fromLatin1(EncodeHeaderWord(encoded.bytes, encoded.charset, lead));
}

QString DecodeHeaderWords(const QString &value)
{
    const QString trimmed = value.trimmed();
    QString out;
    qsizetype pos = 0;
    bool lastWasWord = false;
    while (true) {
        const WordSpan word = findWord(trimmed, pos);
        if (word.start < 0)
            break;
        const QStringView between = QStringView(trimmed).sliced(pos, word.start - pos);
        if (!(lastWasWord && between.trimmed().isEmpty()))
            out += between;
        out += DecodeFromCharset(decodeWordText(word.encoding, word.text), word.charset);
        pos = word.end;
        lastWasWord = true;
    }
    out += QStringView(trimmed).sliced(pos);
    return out;
}

} // namespace smtpmail
