#include "HelpFile.h"

#include "TestFiles.h"

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

TEST(PopupTextTest, TopicsRunToTheNextTopicAndKeepParagraphs)
{
    const QString text = QStringLiteral(".topic 1\nOne\nline.\n\nSecond paragraph.\n.topic 2\r\nTwo.\r\n.topic x\nbad\n");
    EXPECT_EQ(FindPopupText(text, 1), QStringLiteral("One line.\nSecond paragraph."));
    EXPECT_EQ(FindPopupText(text, 2), QStringLiteral("Two."));
    EXPECT_EQ(FindPopupText(text, 3), std::nullopt);
}

} // namespace
