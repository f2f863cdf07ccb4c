#include "shared/LanguageFile.h"

#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(LanguageFile, NamesIgnoreCaseAndValuesStayLiteral)
{
    const LanguageFile file = LanguageFile::parse(testfiles::cp1251Lines({
        QStringLiteral("; a comment line"),
        QStringLiteral("[sStrings]"),
        QStringLiteral("sCopyError = Ошибка, 100% \\\\server\\share; копия "),
        QStringLiteral("sFormula=a=b"),
        QStringLiteral("sEmpty="),
        QStringLiteral("SCOPYERROR=second occurrence is ignored"),
        QStringLiteral("[ДниНедели]"),
        QStringLiteral("ПН=Пн"),
    }));
    EXPECT_EQ(file.read(u"SSTRINGS", u"scopyerror", QString()),
              QStringLiteral("Ошибка, 100% \\\\server\\share; копия"));
    EXPECT_EQ(file.read(u"sStrings", u"sFormula", QString()), QStringLiteral("a=b"));
    EXPECT_EQ(file.value(u"sStrings", u"sEmpty"), QString());
    EXPECT_EQ(file.read(u"sStrings", u"sMissing", QStringLiteral("kept")), QStringLiteral("kept"));
    EXPECT_EQ(file.read(u"днинедели", u"пн", QString()), QStringLiteral("Пн"));
}

TEST(LanguageFile, IgnoresLinesItCannotPlace)
{
    const LanguageFile file = LanguageFile::parse(QByteArray("before=any section\n"
                                                             "[Common\r\n"
                                                             "no equals sign\r"
                                                             "=no key\r\n"
                                                             "ButtonOk=OK\n"));
    EXPECT_FALSE(file.value(u"", u"before"));
    EXPECT_FALSE(file.value(u"Common", u""));
    // A section line without its closing bracket still opens the section.
    EXPECT_EQ(file.value(u"Common", u"ButtonOk"), QStringLiteral("OK"));
}

TEST(LanguageFile, OddBytesStayInsideTheirValue)
{
    // Quotes, a tab, a byte that code page 1251 leaves unassigned and a NUL.
    static const char bytes[] = "[sStrings]\r\nsCopy=\"\xca\xee\xef\xe8\xff\"\t\x98\0!\r\nsDelete=x";
    const LanguageFile file = LanguageFile::parse(QByteArray(bytes, sizeof bytes - 1));
    const std::optional<QString> copy = file.value(u"sStrings", u"sCopy");
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->left(8), QStringLiteral("\"Копия\"\t"));
    EXPECT_EQ(copy->size(), 11);
    EXPECT_TRUE(copy->endsWith(u'!'));
    EXPECT_EQ(file.value(u"sStrings", u"sDelete"), QStringLiteral("x"));
}

// A translator's editor may save the file in UTF-8 and put a byte-order
// mark before the first section.
TEST(LanguageFile, ReadsCodePage1251AndUtf8WithOrWithoutAMark)
{
    const QString copy = QStringLiteral(u"\u041a\u043e\u043f\u0438\u044f");
    const QByteArray utf8 = (QStringLiteral("[sStrings]\r\nsCopy=") + copy + QStringLiteral("\r\n")).toUtf8();
    for (const QByteArray &bytes :
         {testfiles::cp1251Lines({QStringLiteral("[sStrings]"), QStringLiteral("sCopy=") + copy}), utf8,
          QByteArray("\xEF\xBB\xBF") + utf8, QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF") + utf8})
        EXPECT_EQ(LanguageFile::parse(bytes).value(u"sStrings", u"sCopy"), copy) << bytes.left(4).toHex().toStdString();
}

TEST(LanguageFile, MissingFileHasNoValues)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const LanguageFile file = LanguageFile::load(dir.filePath(QStringLiteral("Russian.lng")));
    EXPECT_FALSE(file.value(u"sStrings", u"sCopyError"));
}
