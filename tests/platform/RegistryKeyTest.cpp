#include "platform/RegistryKey.h"
#include "platform/RegistryFormat.h"

#include "ScarceSpace.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using platform::RegistryKey;

namespace {

const QString MainKey = QStringLiteral("\\Software\\Omberly Soft\\The Zentavo\\");
const QString ScheduleKey = QStringLiteral("\\Software\\Omberly Soft\\The Zentavo\\Vorrin\\");

class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        platform::setRegistryFolder(m_dir.path());
    }
    void TearDown() override { platform::setRegistryFolder(QString()); }

    QTemporaryDir m_dir;
};

} // namespace

TEST(RegistryFormatTest, TextKeepsTypesEscapesAndEmptyKeys)
{
    QSettings::SettingsMap map;
    map.insert(QStringLiteral("A/B"), QVariant());
    map.insert(QStringLiteral("A/B/C"), QVariant());
    map.insert(QStringLiteral("A/B/Count"), qint32(-7));
    map.insert(QStringLiteral("A/B/Number"), QStringLiteral("42"));
    map.insert(QStringLiteral("A/B/Times"), QStringLiteral("22:00\r\n07:05\r\n"));
    map.insert(QStringLiteral("A/B/Path"), QStringLiteral("C:\\Temp\\, a; b=c \u0416"));

    const std::optional<QByteArray> text = platform::registryformat::write(map);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text,
              QByteArray("[A\\B]\n"
                         "Count=i:-7\n"
                         "Number=s:42\n"
                         "Path=s:C:\\\\Temp\\\\, a; b=c \xD0\x96\n"
                         "Times=s:22:00\\r\\n07:05\\r\\n\n"
                         "\n[A\\B\\C]\n"));
    const std::optional<QSettings::SettingsMap> back = platform::registryformat::parse(*text);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, map);
    EXPECT_EQ(back->value(QStringLiteral("A/B/Count")).typeId(), QMetaType::Int);
    EXPECT_EQ(back->value(QStringLiteral("A/B/Number")).typeId(), QMetaType::QString);
}

// Values are bytes like the file names they often are: a folder named in
// code page 1251 on an old disk, cut or odd sequences, each kept as it was.
TEST(RegistryFormatTest, BytesThatAreNotUtf8SurviveReadAndWrite)
{
    const QList<QByteArray> values{
        "/mnt/old/\xCE\xF2\xF7\xE5\xF2\xFB/", // "Отчеты" in code page 1251
        "\xD0",                               // a sequence cut short
        "a\x80z",                             // a lone continuation byte
        "\xED\xA0\x80",                       // a surrogate, never valid UTF-8
        "\xC0\xAF",                           // an overlong slash
        "\xD0\x96 and \xE9t\xE9",             // valid UTF-8 beside Latin-1
    };
    for (const QByteArray &value : values) {
        const QByteArray text = "[A]\nPath=s:" + value + "\n";
        const std::optional<QSettings::SettingsMap> map = platform::registryformat::parse(text);
        ASSERT_TRUE(map) << value.toHex().toStdString();
        EXPECT_EQ(platform::registryformat::write(*map), text) << value.toHex().toStdString();
    }
    // A damaged line quotes such bytes readably.
    const std::optional<platform::registryformat::Damage> damage
        = platform::registryformat::damageOf("[A]\nPath=q:\xCE\xF2\n");
    ASSERT_TRUE(damage);
    EXPECT_EQ(damage->text, QStringLiteral("Path=q:\\xCE\\xF2"));
}

TEST(RegistryFormatTest, DamagedTextIsRefused)
{
    for (const char *text : {"Menu=i:1\n", "[A]\nMenu=x:1\n", "[A]\nMenu=i:12a\n", "[A]\nMenu=i:99999999999\n",
                             "[A]\nPath=s:bad\\q\n", "[A\n", "[A\\\\B]\n", "[A]\n=i:1\n", "[A]\nno value\n"})
        EXPECT_FALSE(platform::registryformat::parse(text)) << text;
    EXPECT_TRUE(platform::registryformat::parse("# comment\r\n\r\n[A]\r\nMenu=i:1\r\n"));
}

TEST(RegistryFormatTest, DamageNamesItsLineWithAShortReadableQuote)
{
    struct Case {
        QByteArray text;
        int line;
        QString quote;
    };
    const QByteArray nulls(1 << 20, '\0');
    const QByteArray longLine = "[A]\nName=s:" + QByteArray(5000, 'x') + "\\q\n";
    const QList<Case> cases{
        {"[A]\n" + nulls + "\n", 2, QStringLiteral("\\x00").repeated(80) + QStringLiteral("...")},
        {longLine, 2, QStringLiteral("Name=s:") + QString(73, u'x') + QStringLiteral("...")},
        {"[A]\nB=i:1\n[A\\B]\nC=i:2\n", 3, QStringLiteral("[A\\B]")},
        {"[A\\B]\n[A]\nB=i:1\n", 3, QStringLiteral("B=i:1")},
        {"[A\\B\\C]\n[A]\nB=s:x\n", 3, QStringLiteral("B=s:x")},
        {"[A]\nB=i:1\n[A\\B\\C]\n", 3, QStringLiteral("[A\\B\\C]")},
    };
    for (const Case &c : cases) {
        const std::optional<platform::registryformat::Damage> damage = platform::registryformat::damageOf(c.text);
        ASSERT_TRUE(damage) << c.text.left(40).constData();
        EXPECT_EQ(damage->line, c.line);
        EXPECT_EQ(damage->text, c.quote);
    }
}

TEST_F(RegistryKeyTest, KeysExistOnlyOnceCreated)
{
    EXPECT_FALSE(RegistryKey::open(ScheduleKey, RegistryKey::Mode::OpenExisting));
    ASSERT_TRUE(RegistryKey::open(ScheduleKey, RegistryKey::Mode::OpenOrCreate));
    EXPECT_TRUE(RegistryKey::open(ScheduleKey, RegistryKey::Mode::OpenExisting));
    // A created key is there even while it holds no value, and so is its parent.
    EXPECT_TRUE(RegistryKey::open(MainKey, RegistryKey::Mode::OpenExisting));
    EXPECT_FALSE(RegistryKey::open(QStringLiteral("\\Software\\Other\\"), RegistryKey::Mode::OpenExisting));
    EXPECT_EQ(QFile::permissions(platform::registryFileName()) & 0x0077, QFile::Permissions());
}

TEST_F(RegistryKeyTest, TypedReadsFollowRegistryRules)
{
    {
        auto key = RegistryKey::open(MainKey, RegistryKey::Mode::OpenOrCreate);
        ASSERT_TRUE(key);
        key->writeInteger(QStringLiteral("Menu"), 1);
        key->writeInteger(QStringLiteral("Negative"), -5);
        key->writeString(QStringLiteral("TempDir"), QStringLiteral("/tmp/a,b/"));
        key->writeString(QStringLiteral("Number"), QStringLiteral("3"));
        ASSERT_TRUE(key->flush());
    }
    auto key = RegistryKey::open(MainKey, RegistryKey::Mode::OpenExisting);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readInteger(QStringLiteral("Menu")), 1);
    EXPECT_EQ(key->readInteger(QStringLiteral("Negative")), -5);
    EXPECT_EQ(key->readString(QStringLiteral("TempDir")), QStringLiteral("/tmp/a,b/"));
    // Absent: an integer fails, a string is empty.
    EXPECT_FALSE(key->readInteger(QStringLiteral("Absent")));
    EXPECT_EQ(key->readString(QStringLiteral("Absent")), QString());
    // Another type fails either way, even when its text looks right.
    EXPECT_FALSE(key->readInteger(QStringLiteral("Number")));
    EXPECT_FALSE(key->readString(QStringLiteral("Menu")));
    // A subkey is no value of its parent.
    EXPECT_TRUE(RegistryKey::open(ScheduleKey, RegistryKey::Mode::OpenOrCreate));
    EXPECT_FALSE(key->readInteger(QStringLiteral("Vorrin")));
    EXPECT_EQ(key->readString(QStringLiteral("Vorrin")), QString());
}

TEST_F(RegistryKeyTest, HandWrittenStoreIsRead)
{
    testfiles::writeBytes(platform::registryFileName(),
                          "# written by hand\n"
                          "[Software\\Omberly Soft\\The Zentavo\\EMail]\n"
                          "Host=s:127.0.0.1\n"
                          "Helo=i:0\n");
    auto key = RegistryKey::open(QStringLiteral("\\Software\\Omberly Soft\\The Zentavo\\EMail\\"),
                                 RegistryKey::Mode::OpenExisting);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readString(QStringLiteral("Host")), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(key->readInteger(QStringLiteral("Helo")), 0);
}

TEST_F(RegistryKeyTest, DamagedStoreIsNeitherReadNorOverwritten)
{
    const QByteArray damaged("[Software\\Omberly Soft\\The Zentavo]\nMenu=1\n");
    testfiles::writeBytes(platform::registryFileName(), damaged);
    EXPECT_FALSE(RegistryKey::open(MainKey, RegistryKey::Mode::OpenExisting));
    EXPECT_FALSE(RegistryKey::open(MainKey, RegistryKey::Mode::OpenOrCreate));
    EXPECT_EQ(testfiles::readBytes(platform::registryFileName()), damaged);
}

TEST_F(RegistryKeyTest, ExampleOfTheDocumentationReads)
{
    const QString doc = QString::fromUtf8(testfiles::readBytes(QStringLiteral(SOURCE_DIR "/docs/settings-format.md")));
    const qsizetype start = doc.indexOf(QStringLiteral("```\n")) + 4;
    const qsizetype end = doc.indexOf(QStringLiteral("```"), start);
    ASSERT_GT(start, 4);
    testfiles::writeBytes(platform::registryFileName(), doc.mid(start, end - start).toUtf8());
    auto key = RegistryKey::open(ScheduleKey, RegistryKey::Mode::OpenExisting);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readString(QStringLiteral("Times")), QStringLiteral("07:05\r\n22:00\r\n"));
    EXPECT_EQ(key->readInteger(QStringLiteral("NotWeekEnd")), 1);
}

TEST(RegistryKeyOnAFullDisk, AFailedSaveSaysSoAndKeepsTheFile)
{
    ScarceSpace space;
    platform::setRegistryFolder(space.folder());
    {
        const auto key = RegistryKey::open(MainKey, RegistryKey::Mode::OpenOrCreate);
        ASSERT_TRUE(key);
        key->writeString(QStringLiteral("Host"), QString(2000, u'h'));
        ASSERT_TRUE(key->flush());
    }
    const QByteArray before = testfiles::readBytes(platform::registryFileName());
    // Room for less than the new content, all of which fits the writer's
    // buffer: the failure shows only when the buffer is flushed.
    const bool exhausted = space.exhaust(1024);
    if (exhausted) {
        const auto key = RegistryKey::open(MainKey, RegistryKey::Mode::OpenOrCreate);
        ASSERT_TRUE(key);
        key->writeString(QStringLiteral("Password"), QString(2000, u'p'));
        EXPECT_FALSE(key->flush());
    }
    platform::setRegistryFolder(QString());
    if (!exhausted)
        GTEST_SKIP() << qPrintable(space.reason());
    EXPECT_EQ(testfiles::readBytes(space.folder() + QStringLiteral("registry")), before);
}
