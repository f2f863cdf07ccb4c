#include "TextEncoding.h"

#include "platform/CodePage.h"

#include <QStringDecoder>

#include <algorithm>

namespace textencoding {

namespace {

// A view of static bytes, so that it is ready for texts read during start-up.
constexpr QByteArrayView ByteOrderMark("\xEF\xBB\xBF");

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char byte) { return (byte & 0x80) == 0; });
}

// The text when the bytes are valid UTF-8.
std::optional<QString> asUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

DecodedText decode(const QByteArray &bytes)
{
    if (bytes.startsWith(ByteOrderMark)) {
        // A mark says UTF-8; a byte that is not valid UTF-8 after it still
        // comes through as the replacement character, never as a lost line.
        // Only the one mark goes: a second one is text, so that a save
        // writes back the bytes that were read.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return {decoder.decode(QByteArrayView(bytes).sliced(ByteOrderMark.size())), Encoding::Utf8WithMark};
    }
    if (!isAscii(bytes)) {
        if (std::optional<QString> text = asUtf8(bytes))
            return {*text, Encoding::Utf8};
    }
    return {codepage::decode(bytes, codepage::CodePage::Windows1251), Encoding::Cp1251};
}

std::optional<QByteArray> encode(const QString &text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Cp1251: return codepage::encode(text, codepage::CodePage::Windows1251);
    case Encoding::Utf8: return text.toUtf8();
    case Encoding::Utf8WithMark: return ByteOrderMark.toByteArray() + text.toUtf8();
    }
    return std::nullopt;
}

std::optional<EncodedText> encodeToReadBack(const QString &text, Encoding encoding)
{
    std::optional<QByteArray> bytes = encode(text, encoding);
    if (!bytes)
        return std::nullopt;
    if (decode(*bytes).text == text)
        return EncodedText{*bytes, encoding};
    return EncodedText{*encode(text, Encoding::Utf8WithMark), Encoding::Utf8WithMark};
}

} // namespace textencoding
