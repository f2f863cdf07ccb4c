#include "shared/JobDescription.h"

#include "StyledLineTexts.h"
#include "platform/VersionBlock.h"
#include "shared/ConstStr.h"

#include <gtest/gtest.h>

using namespace zentavo;

namespace {

TBlock everythingJob()
{
    TBlock block;
    block.SetStr(Title, QStringLiteral("Ежедневно"));
    block.SetStr(ArchiveName, QStringLiteral("/arc/Daily.zip"));
    block.SetStr(Comment, QStringLiteral("weekly set"));
    block.Sources = {QStringLiteral("/data/"), QStringLiteral("/home/*.doc")};
    block.Exclusions = {QStringLiteral("*.tmp|*.bak"), QString()};
    block.Dests = {QStringLiteral("/copy/a/=15"), QStringLiteral("/copy/b/=")};
    block.WeekCopies = {QStringLiteral("/week/=0")};
    block.MonthCopies = {QStringLiteral("/month/=1")};
    block.QuarterCopies = {QStringLiteral("/quarter/=0")};
    block.YearCopies = {QStringLiteral("/year/=0")};
    block.CmdBefore = {QStringLiteral("CCPY \"/a\" TO \"/b/\"=06"), QStringLiteral("CDEL \"/old/*.*\"=")};
    block.CmdAfter = {QStringLiteral("CREN \"/x.txt\" TO \"/y.txt\"="), QStringLiteral("notepad /r.txt=3")};
    return block;
}

std::vector<StyledLine> describe(const std::vector<TBlock> &blocks)
{
    std::vector<DescribedJob> jobs;
    for (const TBlock &block : blocks)
        jobs.push_back(DescribedJobOf(block));
    return DescribeJobs(QStringLiteral("Zentavo 2.0\n\nJob file  /jobs/a.dat"), jobs, JobNumbering::MainProgram);
}

} // namespace

TEST(JobDescription, DescribesEveryPartOfAJobInOrder)
{
    TBlock bare;
    bare.SetStr(Title, QStringLiteral("Bare"));
    bare.SetStr(ArchiveName, QStringLiteral("/arc/Bare.zip"));
    bare.Sources = {QStringLiteral("/bare/")};
    const std::vector<StyledLine> lines = describe({everythingJob(), bare});
    EXPECT_EQ(
        textsOf(lines),
        (QStringList{QStringLiteral("Zentavo 2.0"), QString(), QStringLiteral("Job file  /jobs/a.dat"), QString(),
                     QString(), QStringLiteral("N  1 Ежедневно"), QStringLiteral("Archive name: /arc/Daily.zip"),
                     QStringLiteral("Filelist to archiving:"), QStringLiteral("\t/data/  (Exclusions: *.tmp, *.bak)"),
                     QStringLiteral("\t/home/*.doc"), QStringLiteral("Comment: weekly set"),
                     QStringLiteral("List of daily copies:"), QStringLiteral("\t/copy/a/\t(only on Mo, Fr)"),
                     QStringLiteral("\t/copy/b/"), QStringLiteral("List of additional copies:"),
                     QStringLiteral("\tCopies of weekend:"), QStringLiteral("\t\t/week/"),
                     QStringLiteral("\tCopies of the end of month:"), QStringLiteral("\t\t/month/"),
                     QStringLiteral("\tCopies of the end of quarter:"), QStringLiteral("\t\t/quarter/"),
                     QStringLiteral("\tCopies of the end of year:"), QStringLiteral("\t\t/year/"),
                     QStringLiteral("List of commands:"), QStringLiteral("\tBefore archiving:"),
                     QStringLiteral("\t\tCopy  \"/a\" to \"/b/\"\t(only on Su, Sa)"),
                     QStringLiteral("\t\tDelete  \"/old/*.*\""), QStringLiteral("\tAfter archiving:"),
                     QStringLiteral("\t\tRename  \"/x.txt\" to \"/y.txt\""),
                     QStringLiteral("\t\tnotepad /r.txt\t(only on We)"), QString(),
                     // A bare job: number and title, archive, sources, the empty line.
                     QStringLiteral("N  2 Bare"), QStringLiteral("Archive name: /arc/Bare.zip"),
                     QStringLiteral("Filelist to archiving:"), QStringLiteral("\t/bare/"), QString()}));
}

TEST(JobDescription, KeepsTheTypeOfEachPiece)
{
    const std::vector<StyledLine> lines = describe({everythingJob()});
    const auto runsOf = [&](const QString &start) {
        for (const StyledLine &line : lines)
            if (line.text().startsWith(start))
                return line.runs;
        ADD_FAILURE() << start.toStdString();
        return std::vector<StyledRun>{};
    };
    const auto style = [](const StyledRun &run) { return std::tuple(run.bold, run.italic, run.pointSize); };
    using Style = std::tuple<bool, bool, int>;
    const Style plain{false, false, 10}, italic{false, true, 10}, small{false, true, 8};

    EXPECT_TRUE(lines.front().runs.front().bold);
    const std::vector<StyledRun> title = runsOf(QStringLiteral("N  1"));
    ASSERT_EQ(title.size(), 2u);
    EXPECT_EQ(style(title[0]), plain);
    EXPECT_EQ(style(title[1]), Style(true, true, 10));
    EXPECT_EQ(title[1].text, QStringLiteral("Ежедневно"));
    const std::vector<StyledRun> archive = runsOf(sNameArch);
    ASSERT_EQ(archive.size(), 2u);
    EXPECT_EQ(style(archive[0]), plain);
    EXPECT_EQ(style(archive[1]), italic);
    const std::vector<StyledRun> copy = runsOf(QStringLiteral("\t/copy/a/"));
    ASSERT_EQ(copy.size(), 2u);
    EXPECT_EQ(style(copy[0]), italic);
    EXPECT_EQ(style(copy[1]), small);
    EXPECT_EQ(style(runsOf(u'\t' + sCopyWeek).front()), plain);
    EXPECT_EQ(style(runsOf(QStringLiteral("\t\tDelete")).front()), italic);
}

TEST(JobDescription, CommandsAreShownAsTheRunReadsThem)
{
    const struct {
        const char16_t *command;
        const char16_t *shown;
    } cases[] = {
        {u"CCPY \"/a\" TO \"/b\"", u"Copy  \"/a\" to \"/b\""},
        {u"cren \"/a\" to \"/b\"", u"Rename  \"/a\" to \"/b\""},
        {u"CDEL \"/tmp/*.*\"", u"Delete  \"/tmp/*.*\""},
        // " TO " inside a quoted path is part of the path.
        {u"CCPY \"/music/Back TO Black\" TO \"/copy/\"", u"Copy  \"/music/Back TO Black\" to \"/copy/\""},
        {u"CREN \"/a\" TO \"/Road TO Rome/\"", u"Rename  \"/a\" to \"/Road TO Rome/\""},
        // What the run would refuse is shown as written.
        {u"CCPY /a TO /b", u"CCPY /a TO /b"},
        {u"CCPY \"/a\"", u"CCPY \"/a\""},
        {u"CDEL", u"CDEL"},
        {u"backup.sh --all", u"backup.sh --all"},
    };
    for (const auto &entry : cases)
        EXPECT_EQ(CommandDisplayText(QString::fromUtf16(entry.command)), QString::fromUtf16(entry.shown));
}

TEST(JobDescription, DaysThatAreNoWeekdayDigitsShowAsWritten)
{
    EXPECT_EQ(DaysText(QStringLiteral("15")), QStringLiteral("(only on Mo, Fr)"));
    EXPECT_EQ(DaysText(QStringLiteral("0")), QStringLiteral("(only on Su)"));
    EXPECT_EQ(DaysText(QStringLiteral("7x/6")), QStringLiteral("(only on 7, x, /, Sa)"));
}

TEST(JobDescription, HeaderFromTheProgramsOwnVersion)
{
    const QString header = JobDescriptionHeader(platform::VersionBlock::ofFile(QStringLiteral(ZENTAVO_FILE)),
                                                QStringLiteral("/jobs/a.dat"));
    const QStringList lines = header.split(u'\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("The Zentavo ")));
    EXPECT_EQ(lines[1], QStringLiteral("Backup of files into ZIP archives"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("File version ")));
    EXPECT_EQ(lines[3], QString());
    EXPECT_EQ(lines[4], sJobFile + QStringLiteral("  /jobs/a.dat"));

    // Without a version block only the job file is left.
    EXPECT_EQ(JobDescriptionHeader(platform::VersionBlock::ofFile(QStringLiteral("/nonexistent")), QStringLiteral("x")),
              QStringLiteral("\n\n") + sJobFile + QStringLiteral("  x"));
}
