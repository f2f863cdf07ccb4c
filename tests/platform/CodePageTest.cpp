#include "platform/CodePage.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

using codepage::CodePage;

namespace {

struct Page {
    CodePage page;
    const char *qtName;
};

const Page Pages[] = {{CodePage::Windows1251, "windows-1251"}, {CodePage::Dos866, "IBM866"}};

QByteArray everyByte()
{
    QByteArray bytes(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        bytes[i] = char(i);
    return bytes;
}

// Qt's ICU table for 866 swaps these control bytes; the page as published
// keeps them ASCII, as the archiver writes every ASCII name.
bool icuSwapsControl(CodePage page, int byte)
{
    return page == CodePage::Dos866 && (byte == 0x1A || byte == 0x1C || byte == 0x7F);
}

TEST(CodePage, EveryByteReadsAsQtsIcuConverterReadsIt)
{
    for (const Page &page : Pages) {
        QStringDecoder icu(page.qtName, QStringConverter::Flag::Stateless);
        if (!icu.isValid())
            GTEST_SKIP() << "Qt was built without ICU";
        const QString ours = codepage::decode(everyByte(), page.page);
        const QString theirs = icu.decode(everyByte());
        ASSERT_EQ(ours.size(), 256);
        ASSERT_EQ(theirs.size(), 256);
        for (int byte = 0; byte < 256; ++byte) {
            const char16_t expected = icuSwapsControl(page.page, byte) ? char16_t(byte) : theirs[byte].unicode();
            EXPECT_EQ(ours[byte].unicode(), expected) << page.qtName << " byte " << byte;
        }
    }
}

// A few bytes as the published tables give them, so that the tables stay
// pinned where Qt has no ICU to compare with.
TEST(CodePage, BytesReadAsThePublishedTablesSay)
{
    const struct {
        CodePage page;
        char byte;
        char16_t character;
    } cases[] = {
        {CodePage::Windows1251, '\x88', u'\u20AC'}, {CodePage::Windows1251, '\x98', u'\u0098'},
        {CodePage::Windows1251, '\xA8', u'\u0401'}, {CodePage::Windows1251, '\xB9', u'\u2116'},
        {CodePage::Windows1251, '\xC0', u'\u0410'}, {CodePage::Windows1251, '\xFF', u'\u044F'},
        {CodePage::Dos866, '\x1A', u'\u001A'},      {CodePage::Dos866, '\x80', u'\u0410'},
        {CodePage::Dos866, '\xB0', u'\u2591'},      {CodePage::Dos866, '\xE0', u'\u0440'},
        {CodePage::Dos866, '\xF0', u'\u0401'},      {CodePage::Dos866, '\xFF', u'\u00A0'},
    };
    for (const auto &c : cases)
        EXPECT_EQ(codepage::decode(QByteArray(1, c.byte), c.page), QString(QChar(c.character)))
            << int(c.page) << " byte " << int(uchar(c.byte));
}

TEST(CodePage, EveryByteWritesBackAsItself)
{
    for (const Page &page : Pages)
        EXPECT_EQ(codepage::encode(codepage::decode(everyByte(), page.page), page.page), everyByte()) << page.qtName;
}

TEST(CodePage, TextWithACharacterThePageLacksIsRefused)
{
    const struct {
        CodePage page;
        QString text;
    } cases[] = {
        {CodePage::Windows1251, QStringLiteral(u"Копия ø")},
        {CodePage::Windows1251, QStringLiteral(u"\u2591")},                // in 866 only
        {CodePage::Windows1251, QStringLiteral(u"a\U0001F600")},           // outside the BMP
        {CodePage::Windows1251, QStringLiteral(u"name") + QChar(0xDC80)},  // a raw byte of a file name
        {CodePage::Windows1251, QStringLiteral(u"Копия") + QChar(0xD83D)}, // cut inside a pair
        {CodePage::Dos866, QStringLiteral(u"Отчёт €")},
        {CodePage::Dos866, QStringLiteral(u"\u201E")}, // in 1251 only
    };
    for (const auto &c : cases)
        EXPECT_EQ(codepage::encode(c.text, c.page), std::nullopt) << c.text.toStdString();
}

TEST(CodePage, MimeCharsetNamesInAnyCase)
{
    const struct {
        const char *name;
        std::optional<CodePage> page;
    } cases[] = {
        {"windows-1251", CodePage::Windows1251},
        {"Windows-1251", CodePage::Windows1251},
        {"CP1251", CodePage::Windows1251},
        {"x-cp1251", CodePage::Windows1251},
        {"IBM866", CodePage::Dos866},
        {"ibm866", CodePage::Dos866},
        {"cp866", CodePage::Dos866},
        {"866", CodePage::Dos866},
        {"csIBM866", CodePage::Dos866},
        {"utf-8", std::nullopt},
        {"iso-8859-1", std::nullopt},
        {"windows-1252", std::nullopt},
        {"1251", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(codepage::forCharset(c.name), c.page) << c.name;
}

} // namespace
