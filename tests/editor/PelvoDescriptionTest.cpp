#include "editor/PelvoDescription.h"

#include "JobFileSamples.h"
#include "StyledLineTexts.h"
#include "TestFiles.h"
#include "editor/JobFileFormat.h"
#include "engine/JobFileReader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The descriptions of one job file as the main program and as the editor
// print it, each from its own reading of the file.
std::pair<QStringList, QStringList> describedByBoth(const QStringList &jobFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("jobs.dat"));
    testfiles::writeBytes(path, testfiles::cp1251Lines(jobFile));

    zentavo::TBlocks blocks;
    EXPECT_TRUE(zentavo::ReadFDat(path, blocks));
    std::vector<zentavo::DescribedJob> mainJobs;
    for (const zentavo::TBlock &block : blocks)
        mainJobs.push_back(zentavo::DescribedJobOf(block));

    const std::optional<pelvo::JobList> read = pelvo::ReadJobFile(path);
    EXPECT_TRUE(read);
    std::vector<zentavo::DescribedJob> editorJobs;
    for (std::size_t i = 0; read && i < read->blocks.size(); ++i)
        editorJobs.push_back(pelvo::DescribedJobOf(read->blocks[i], read->names.value(qsizetype(i))));

    const QString header = QStringLiteral("header");
    return {textsOf(zentavo::DescribeJobs(header, mainJobs, zentavo::JobNumbering::MainProgram)),
            textsOf(zentavo::DescribeJobs(header, editorJobs, zentavo::JobNumbering::Editor))};
}

} // namespace

TEST(PelvoDescription, DiffersFromTheMainProgramsOnlyInTheJobNumbers)
{
    for (const QStringList &jobFile : {samples::everythingJobFile(), samples::bareJobFile()}) {
        auto [mainLines, editorLines] = describedByBoth(jobFile);
        ASSERT_EQ(mainLines.size(), editorLines.size());
        for (qsizetype i = 0; i < mainLines.size(); ++i)
            if (mainLines[i].startsWith(QStringLiteral("N  "))) {
                EXPECT_EQ(editorLines[i], mainLines[i].replace(QStringLiteral("N  "), QStringLiteral("N ")));
            } else {
                EXPECT_EQ(editorLines[i], mainLines[i]);
            }
    }
}

TEST(PelvoDescription, SortsTheMixedListsByKind)
{
    const auto [mainLines, editorLines] = describedByBoth(samples::everythingJobFile());
    const auto after = [&lines = editorLines](const QString &line) { return lines.value(lines.indexOf(line) + 1); };
    EXPECT_EQ(after(QStringLiteral("\tCopies of the end of month:")), QStringLiteral("\t\t/copy/month/"));
    EXPECT_EQ(after(QStringLiteral("\tCopies of the end of quarter:")), QStringLiteral("\t\t/copy/quarter/"));
    EXPECT_EQ(after(QStringLiteral("\tCopies of the end of year:")), QStringLiteral("\t\t/copy/year/"));
    EXPECT_EQ(after(QStringLiteral("\tBefore archiving:")),
              QStringLiteral("\t\tCopy  \"/music/Back TO Black\" to \"/copy/\"\t(only on Su, Sa)"));
    EXPECT_EQ(after(QStringLiteral("\tAfter archiving:")), QStringLiteral("\t\tRename  \"/x.txt\" to \"/y.txt\""));
    // The older Cyrillic kind keys of the second job.
    EXPECT_TRUE(editorLines.contains(QStringLiteral("\t\t/copy/week2/")));
    EXPECT_TRUE(editorLines.contains(QStringLiteral("\t\t/copy/year2/")));
}

TEST(PelvoDescription, CopyHeadingFollowsTheMixedList)
{
    pelvo::TBlock block;
    block.ExtCopies << QStringLiteral("X>/nowhere/=0");
    block.Cmds << QStringLiteral("cmd2>late=") << QStringLiteral("CMD3>never=");
    const zentavo::DescribedJob job = pelvo::DescribedJobOf(block, QStringLiteral("Job"));
    EXPECT_TRUE(job.listsPeriodCopies);
    for (const QStringList &folders : job.periodCopies)
        EXPECT_TRUE(folders.isEmpty());
    EXPECT_TRUE(job.commandsBefore.empty());
    ASSERT_EQ(job.commandsAfter.size(), 1u);
    EXPECT_EQ(job.commandsAfter[0].text, QStringLiteral("late"));
}
