#include "shared/TextEncoding.h"

#include <QList>

#include <gtest/gtest.h>

using textencoding::Encoding;

namespace {
const QByteArray Mark("\xEF\xBB\xBF");
}

// A file is written back in the bytes it was read in, marks and all: an
// editor that put a second mark before the first keeps both.
TEST(TextEncoding, EveryByteOrderMarkSurvivesReadingAndWriting)
{
    const QByteArray utf8 = QStringLiteral(u"\u0414\u043e\u043c\r\n").toUtf8();
    for (const QByteArray &bytes : {Mark + utf8, Mark + Mark + utf8, Mark + Mark + Mark + "plain\r\n", Mark + Mark}) {
        const textencoding::DecodedText read = textencoding::decode(bytes);
        EXPECT_EQ(read.encoding, Encoding::Utf8WithMark);
        EXPECT_EQ(textencoding::encode(read.text, read.encoding), bytes) << bytes.toHex().toStdString();
    }
}

// Code page 1251 bytes may happen to form valid UTF-8 ("Р–" is D0 96, the
// UTF-8 "Ж"); such a text goes out in UTF-8 with the mark, so that it reads
// back as written. Other texts keep their encoding.
TEST(TextEncoding, ATextIsWrittenSoThatItReadsBackTheSame)
{
    struct Case {
        QString text;
        Encoding encoding;
        Encoding written;
    };
    const QList<Case> cases{
        {QStringLiteral(u"\u0420\u2013\r\n"), Encoding::Cp1251, Encoding::Utf8WithMark},
        {QStringLiteral(u"\u0420\u045c:/mnt/daily/=135\r\n"), Encoding::Cp1251, Encoding::Utf8WithMark},
        {QStringLiteral(u"\u043f\u00bb\u0457header\r\n"), Encoding::Cp1251, Encoding::Utf8WithMark}, // EF BB BF
        {QStringLiteral(u"\u0414\u043e\u043c\r\n"), Encoding::Cp1251, Encoding::Cp1251},
        {QStringLiteral("ascii only\r\n"), Encoding::Utf8, Encoding::Utf8},
        {QStringLiteral(u"\ufeffleading mark\r\n"), Encoding::Utf8, Encoding::Utf8WithMark},
    };
    for (const Case &c : cases) {
        const std::optional<textencoding::EncodedText> written = textencoding::encodeToReadBack(c.text, c.encoding);
        ASSERT_TRUE(written) << c.text.toStdString();
        EXPECT_EQ(written->encoding, c.written) << c.text.toStdString();
        EXPECT_EQ(textencoding::decode(written->bytes).text, c.text) << c.text.toStdString();
    }
    // A letter without a code page 1251 form is refused, not written in UTF-8.
    EXPECT_FALSE(textencoding::encodeToReadBack(QStringLiteral(u"\u00e4"), Encoding::Cp1251));
}
