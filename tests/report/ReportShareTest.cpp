// Two runs that write one report folder at once, each in a process of its
// own as a scheduled run and a run started by hand are.
#include "report/ReportFile.h"

#include "ChildProcess.h"
#include "StepMarks.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

// Steps of two processes, put in order by marks that one leaves and the
// other waits for. The other run's process starts first, before this one
// holds anything a child would inherit.
class TwoRuns : public ::testing::Test {
protected:
    ~TwoRuns() override
    {
        if (m_other.joinable())
            m_other.join();
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QByteArray report() const { return testfiles::readBytes(path(ReportFile::FileName)); }
    QByteArray backup() const { return testfiles::readBytes(path(ReportFile::BackupName)); }

    void mark(const QString &name) const { m_marks.mark(name); }
    bool waitFor(const QString &name) const { return m_marks.waitFor(name); }

    // The other run, in a child process while this one goes on; its exit
    // code is what run answers.
    void startOther(const std::function<int()> &run)
    {
        m_other = std::thread([this, run] { m_result = childprocess::run(run); });
    }
    childprocess::Result otherEnded()
    {
        m_other.join();
        return m_result;
    }

    // What the runs leave in the folder besides the marks.
    QStringList files() const
    {
        QStringList names = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeIf([](const QString &name) { return name.endsWith(QStringLiteral(".mark")); });
        return names;
    }

    QTemporaryDir m_dir;

private:
    StepMarks m_marks{m_dir.path()};
    std::thread m_other;
    childprocess::Result m_result;
};

} // namespace

// A report rewritten each run: the run that starts second finds the first
// one writing, so it neither saves the half-written report over the backup
// nor empties it; both runs' lines stand whole in it, and the backup keeps
// the report from before.
TEST_F(TwoRuns, ARewrittenReportKeepsEveryLineOfBoth)
{
    testfiles::writeBytes(path(ReportFile::FileName), "previous run\r\n");
    startOther([&] {
        ReportFile first;
        if (!first.start(m_dir.path(), false) || first.sharedWithAnotherRun())
            return 1;
        first.write(QStringLiteral("first 1"));
        first.write(QStringLiteral("first 2"));
        mark(QStringLiteral("first-started"));
        if (!waitFor(QStringLiteral("second-started")))
            return 2;
        first.write(QStringLiteral("first 3"));
        if (!first.finish(1))
            return 3;
        mark(QStringLiteral("first-ended"));
        return 0;
    });
    ASSERT_TRUE(waitFor(QStringLiteral("first-started")));
    ReportFile second;
    EXPECT_FALSE(second.start(m_dir.path(), false)) << "no backup of a report another run writes";
    EXPECT_TRUE(second.sharedWithAnotherRun());
    second.write(QStringLiteral("second 1"));
    second.write(QStringLiteral("second 2"));
    mark(QStringLiteral("second-started"));
    ASSERT_TRUE(waitFor(QStringLiteral("first-ended")));
    second.write(QStringLiteral("second 3"));
    EXPECT_TRUE(second.finish(1));
    const childprocess::Result first = otherEnded();
    EXPECT_EQ(first.outcome, childprocess::Outcome::Exited);
    EXPECT_EQ(first.exitCode, 0);

    const QByteArray both("first 1\r\nfirst 2\r\nsecond 1\r\nsecond 2\r\nfirst 3\r\nsecond 3\r\n");
    EXPECT_EQ(report(), both);
    EXPECT_EQ(backup(), QByteArray("previous run\r\n"));
    // The run that ended last took the locks away.
    EXPECT_EQ(files(), (QStringList{ReportFile::BackupName, ReportFile::FileName}));

    // The next run alone rotates again: both runs' report becomes the backup.
    ReportFile next;
    EXPECT_TRUE(next.start(m_dir.path(), false));
    next.write(QStringLiteral("next"));
    next.finish(0);
    EXPECT_EQ(report(), QByteArray("next\r\n"));
    EXPECT_EQ(backup(), both);
}

// An appended report with a size limit: the run that ends first leaves the
// trim to the one still writing, whose last lines would otherwise go into a
// file that the trim had replaced.
TEST_F(TwoRuns, TheTrimWaitsForTheLastRunToEnd)
{
    QByteArray old;
    for (int i = 0; i < 30; ++i)
        old += QByteArray("older line ") + QByteArray::number(100 + i) + "\r\n"; // 15 bytes each
    testfiles::writeBytes(path(ReportFile::FileName), old);
    const QString filler(100, u'x');

    startOther([&] {
        ReportFile first;
        first.start(m_dir.path(), true);
        first.write(QStringLiteral("first 1 ") + filler);
        mark(QStringLiteral("first-started"));
        if (!waitFor(QStringLiteral("second-started")))
            return 2;
        first.write(QStringLiteral("first 2 ") + filler);
        for (int i = 0; i < 6; ++i)
            first.write(QStringLiteral("first more ") + filler);
        if (!first.finish(1))
            return 3;
        mark(QStringLiteral("first-ended"));
        return 0;
    });
    ASSERT_TRUE(waitFor(QStringLiteral("first-started")));
    ReportFile second;
    second.start(m_dir.path(), true);
    second.write(QStringLiteral("second 1 ") + filler);
    mark(QStringLiteral("second-started"));
    ASSERT_TRUE(waitFor(QStringLiteral("first-ended")));
    EXPECT_GT(report().size(), 1024) << "not trimmed while the other run writes";
    second.write(QStringLiteral("second 2 ") + filler);
    second.write(QStringLiteral("second 3"));
    EXPECT_TRUE(second.finish(1));
    const childprocess::Result first = otherEnded();
    EXPECT_EQ(first.outcome, childprocess::Outcome::Exited);
    EXPECT_EQ(first.exitCode, 0);

    QByteArray whole = old;
    for (const char *line : {"first 1 ", "second 1 ", "first 2 ", "first more ", "first more ", "first more ",
                             "first more ", "first more ", "first more ", "second 2 "})
        whole += line + filler.toLatin1() + "\r\n";
    whole += "second 3\r\n";
    const QByteArray trimmed = report();
    EXPECT_LE(trimmed.size(), 1024);
    EXPECT_GT(trimmed.size(), 1024 - 120) << "no more lines cut than needed";
    // Whole lines cut from the top, nothing lost at the end.
    EXPECT_EQ(trimmed, whole.right(trimmed.size()));
    EXPECT_EQ(whole.at(whole.size() - trimmed.size() - 1), '\n');
    EXPECT_EQ(files(), (QStringList{ReportFile::BackupName, ReportFile::FileName}));
}

// A run killed while it writes no longer counts: the other run rotates and
// trims as if alone once it starts again.
TEST_F(TwoRuns, AKilledRunLeavesTheReportToTheNext)
{
    testfiles::writeBytes(path(ReportFile::FileName), "previous run\r\n");
    startOther([&]() -> int {
        ReportFile killed;
        killed.start(m_dir.path(), false);
        killed.write(QStringLiteral("killed 1"));
        mark(QStringLiteral("killed-started"));
        waitFor(QStringLiteral("during-ended"));
        childprocess::killSelf();
    });
    ASSERT_TRUE(waitFor(QStringLiteral("killed-started")));
    ReportFile during;
    EXPECT_FALSE(during.start(m_dir.path(), false));
    EXPECT_TRUE(during.sharedWithAnotherRun());
    during.write(QStringLiteral("during"));
    during.finish(0);
    mark(QStringLiteral("during-ended"));
    EXPECT_EQ(otherEnded().outcome, childprocess::Outcome::Killed);

    ReportFile after;
    EXPECT_TRUE(after.start(m_dir.path(), false));
    EXPECT_FALSE(after.sharedWithAnotherRun());
    after.write(QStringLiteral("after"));
    after.finish(0);
    EXPECT_EQ(backup(), QByteArray("killed 1\r\nduring\r\n"));
    EXPECT_EQ(report(), QByteArray("after\r\n"));
    EXPECT_EQ(files(), (QStringList{ReportFile::BackupName, ReportFile::FileName}));
}
