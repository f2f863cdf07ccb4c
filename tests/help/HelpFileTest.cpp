#include "help/HelpFile.h"
#include "help/MapFile.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace help;

namespace {

const QString BuiltHelpFile = QStringLiteral(ZENTAVO_HELP_FILE);

TEST(HelpFileTest, TheBuiltHelpFileHasItsTopicsPopupsAndContents)
{
    const std::unique_ptr<HelpFile> file = HelpFile::open(BuiltHelpFile);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->title(), QStringLiteral("The Zentavo Help"));
    EXPECT_EQ(file->defaultTopic(), QStringLiteral("Main.htm"));
    // The topics the programs ask for by name.
    for (const char *topic : {"CreateJob.htm", "CommandLine.htm", "EdMainWindow.htm", "Main.htm"})
        EXPECT_TRUE(file->hasTopic(QString::fromLatin1(topic))) << topic;
    EXPECT_FALSE(file->hasTopic(QStringLiteral("Nothing.htm")));
    EXPECT_TRUE(file->read(QStringLiteral("CreateJob.htm")).value_or(QByteArray()).contains("job file editor"));

    EXPECT_EQ(file->popupText(QStringLiteral("CSHelp.txt"), 13),
              QStringLiteral("Closes the program, asking first when a run is under way."));
    EXPECT_EQ(file->popupText(QStringLiteral("CSHelp.txt"), 999), std::nullopt);
    EXPECT_EQ(file->popupText(QStringLiteral("Other.txt"), 13), std::nullopt);

    // A control's context leads to its window's topic.
    EXPECT_EQ(file->topicOfContext(5), QStringLiteral("ZentavoWindow.htm"));
    EXPECT_EQ(file->topicOfContext(500), QStringLiteral("CreateJob.htm"));
    EXPECT_EQ(file->topicOfContext(9999), QString());

    ASSERT_FALSE(file->contents().isEmpty());
    EXPECT_EQ(file->contents().first().topic, QStringLiteral("Main.htm"));
    EXPECT_EQ(file->contents().first().level, 0);
    EXPECT_EQ(file->contents().at(1).level, 1);
}

TEST(HelpFileTest, EveryContextOfTheMapHasItsPopupAndItsWindowsTopic)
{
    const std::unique_ptr<HelpFile> file = HelpFile::open(BuiltHelpFile);
    ASSERT_TRUE(file);
    for (const MapEntry &entry : ParseMapFile(QStringLiteral(HELP_MAP_FILE))) {
        EXPECT_FALSE(file->popupText(QStringLiteral("CSHelp.txt"), entry.context).value_or(QString()).isEmpty())
            << entry.name.toStdString();
        EXPECT_TRUE(file->hasTopic(file->topicOfContext(entry.context))) << entry.name.toStdString();
    }
}

TEST(HelpFileTest, MissingOrDamagedFilesDoNotOpen)
{
    QTemporaryDir dir;
    const QString damaged = dir.filePath(QStringLiteral("Damaged.chm"));
    QByteArray bytes = testfiles::readBytes(BuiltHelpFile);
    ASSERT_FALSE(bytes.isEmpty());
    testfiles::writeBytes(damaged, bytes.left(200));
    EXPECT_FALSE(HelpFile::open(dir.filePath(QStringLiteral("Missing.chm"))));
    EXPECT_FALSE(HelpFile::open(damaged));
    EXPECT_FALSE(HelpFile::open(dir.path()));
}

// A program killed while its help file is open must leave no copy of it.
TEST(HelpFileTest, AnOpenHelpFileHasNoCopyInTheTemporaryFolder)
{
    QTemporaryDir temporary;
    const std::optional<QByteArray> kept
        = qEnvironmentVariableIsSet("TMPDIR") ? std::optional(qgetenv("TMPDIR")) : std::nullopt;
    qputenv("TMPDIR", QFile::encodeName(temporary.path()));
    const std::unique_ptr<HelpFile> file = HelpFile::open(BuiltHelpFile);
    const QStringList left = QDir(temporary.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (kept)
        qputenv("TMPDIR", *kept);
    else
        qunsetenv("TMPDIR");
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->read(QStringLiteral("Main.htm")));
    EXPECT_EQ(left, QStringList());
}

TEST(HelpFileTest, DamagedFilesAreRefusedOrReadWithoutHarm)
{
    QTemporaryDir dir;
    const QByteArray good = testfiles::readBytes(BuiltHelpFile);
    ASSERT_FALSE(good.isEmpty());
    const QString path = dir.filePath(QStringLiteral("Damaged.chm"));
    // Among these the library alone would crash on round 483.
    QRandomGenerator random(7);
    int refused = 0;
    for (int round = 0; round < 500; ++round) {
        QByteArray damaged = good;
        for (int flips = 1 + random.bounded(8); flips > 0; --flips)
            damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
        if (round % 5 == 0)
            damaged.truncate(random.bounded(int(damaged.size())));
        testfiles::writeBytes(path, damaged);
        const std::unique_ptr<HelpFile> file = HelpFile::open(path);
        if (!file) {
            ++refused;
            continue;
        }
        file->read(QStringLiteral("Main.htm"));
        file->popupText(QStringLiteral("CSHelp.txt"), 5);
        file->topicOfContext(5);
    }
    EXPECT_GT(refused, 0);
}

TEST(PopupTextTest, TopicsRunToTheNextTopicAndKeepParagraphs)
{
    const QString text
        = QStringLiteral(".topic 1\nOne\nline.\n\nSecond paragraph.\n.topic 2\r\nTwo.\r\n.topic x\nbad\n");
    EXPECT_EQ(FindPopupText(text, 1), QStringLiteral("One line.\nSecond paragraph."));
    EXPECT_EQ(FindPopupText(text, 2), QStringLiteral("Two."));
    EXPECT_EQ(FindPopupText(text, 3), std::nullopt);
}

} // namespace
