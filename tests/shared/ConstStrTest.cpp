#include "shared/ConstStr.h"

#include "TestFiles.h"
#include "shared/LanguageFile.h"

#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zentavo;

namespace {

class LanguageTexts : public ::testing::Test {
protected:
    void SetUp() override { RestoreBuiltInTexts(); }
    void TearDown() override { RestoreBuiltInTexts(); }
};

} // namespace

TEST_F(LanguageTexts, BuiltInTextsWithoutLanguageFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    LoadLanguageTexts(dir.filePath(QStringLiteral("Russian.lng")));

    EXPECT_EQ(sCopyError, QStringLiteral("Error of copying!"));
    EXPECT_EQ(sJob, QStringLiteral("Задание"));
    EXPECT_EQ(sSaveInUneven, QStringLiteral("Предыдущий архив сохраняем в файле для нечетных дней!"));
    EXPECT_EQ(sReg2Week, QStringLiteral("По неделям"));
    EXPECT_EQ(sField1, QStringLiteral("Field  <"));
    EXPECT_EQ(sRes[0], QStringLiteral("Ok!"));
    EXPECT_EQ(sRes[2], QStringLiteral("Fatal error!!!"));
    EXPECT_EQ(DOFW[0], QStringLiteral("Su"));
    EXPECT_EQ(DOFW[6], QStringLiteral("Sa"));
}

TEST_F(LanguageTexts, TableIsConsistent)
{
    QSet<QString> keys;
    QSet<const QString *> globals;
    for (const LanguageText &entry : zentavo::LanguageTexts()) {
        EXPECT_LE(entry.builtIn.size(), entry.capacity) << entry.key.toString().toStdString();
        EXPECT_EQ(*entry.text, entry.builtIn);
        keys.insert(entry.key.toString());
        globals.insert(entry.text);
    }
    EXPECT_EQ(keys.size(), 130);
    EXPECT_EQ(globals.size(), 130);
}

TEST_F(LanguageTexts, EveryKeyIsReadAndCutToItsCapacity)
{
    QStringList strings{QStringLiteral("[sStrings]")};
    QStringList days{QStringLiteral("[DaysOfWeek]")};
    const QString tail(100, u'ж');
    for (const LanguageText &entry : zentavo::LanguageTexts())
        (entry.section == u"sStrings" ? strings : days) << entry.key.toString() + u'=' + entry.key.toString() + tail;

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Russian.lng"));
    testfiles::writeBytes(path, testfiles::cp1251Lines(days + strings));
    LoadLanguageTexts(path);

    for (const LanguageText &entry : zentavo::LanguageTexts())
        EXPECT_EQ(*entry.text, (entry.key.toString() + tail).left(entry.capacity));
    EXPECT_EQ(sIn.size(), 10);
    EXPECT_EQ(sCopyError.size(), 30);
    EXPECT_EQ(DOFW[1], QStringLiteral("DO"));
}

TEST_F(LanguageTexts, LoadKeepsMissingAndEmptiesPresentEmptyKeys)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Russian.lng"));
    testfiles::writeBytes(path,
                          testfiles::cp1251Lines({
                              QStringLiteral("[SSTRINGS]"),
                              QStringLiteral("sCopyError=Ошибка копирования файла на сетевой диск!!"),
                              QStringLiteral("sRes1="),
                              QStringLiteral("sDelete=100%, \\\\srv; ok"),
                              QStringLiteral("[daysofweek]"),
                              QStringLiteral("DOFW1=Пнд"),
                          }));
    LoadLanguageTexts(path);

    EXPECT_EQ(sCopyError, QStringLiteral("Ошибка копирования файла на се"));
    EXPECT_EQ(sRes[1], QString());
    EXPECT_EQ(sDelete, QStringLiteral("100%, \\\\srv; ok"));
    EXPECT_EQ(DOFW[1], QStringLiteral("Пн"));
    EXPECT_EQ(sDeleteError, QStringLiteral("Error of deleting!"));
    EXPECT_EQ(DOFW[2], QStringLiteral("Tu"));
}

TEST(DeleteAmpersand, RemovesTheFirstAmpersandOnly)
{
    EXPECT_EQ(DeleteAmpersand(QStringLiteral("&Run")), QStringLiteral("Run"));
    EXPECT_EQ(DeleteAmpersand(QStringLiteral("Sa&ve")), QStringLiteral("Save"));
    EXPECT_EQ(DeleteAmpersand(QStringLiteral("Copy && paste")), QStringLiteral("Copy & paste"));
    EXPECT_EQ(DeleteAmpersand(QStringLiteral("Exit")), QStringLiteral("Exit"));
}

TEST(LineTexts, EmptyTextMatchesNoLine)
{
    const QString line = QStringLiteral("Error of copying! /data/a.zip");
    EXPECT_TRUE(LineHasText(line, u"copying!"));
    EXPECT_FALSE(LineHasText(line, u"Copying!"));
    EXPECT_TRUE(LineStartsWithText(line, u"Error"));
    EXPECT_FALSE(LineStartsWithText(line, u"copying"));
    EXPECT_FALSE(LineHasText(line, QString()));
    EXPECT_FALSE(LineStartsWithText(line, QString()));
}

TEST(DayName, StaysWithinTheDayNames)
{
    RestoreBuiltInTexts();
    EXPECT_EQ(DayName(u'0'), QStringLiteral("Su"));
    EXPECT_EQ(DayName(u'6'), QStringLiteral("Sa"));
    EXPECT_EQ(DayName(u'7'), QStringLiteral("7"));
    EXPECT_EQ(DayName(u'/'), QStringLiteral("/"));
    EXPECT_EQ(DayName(QChar(0x0660)), QString(QChar(0x0660)));
}
