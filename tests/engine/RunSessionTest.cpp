#include "engine/RunSession.h"

#include "FakeClock.h"
#include "RecordingRunView.h"
#include "shared/ConstStr.h"

#include "TestApplication.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace zentavo;

namespace {

class RecordingWindow final : public RunEndWindow {
public:
    bool printReport(const QStringList &lines) override
    {
        printed = lines;
        if (whilePrinting)
            whilePrinting();
        return true;
    }
    void closeWindow() override { closed = true; }

    std::optional<QStringList> printed;
    bool closed = false;
    std::function<void()> whilePrinting;
};

class RunSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testapp::application();
        ASSERT_TRUE(dir.isValid());
        // One job that archives a folder of one file.
        jobs.resize(1);
        jobs[0].SetStr(Title, QStringLiteral("Job"));
        jobs[0].SetStr(ArchiveName, dir.filePath(QStringLiteral("Job.zip")));
        jobs[0].Sources << dir.filePath(QStringLiteral("src"));
        jobs[0].Exclusions << QString();
        QDir().mkpath(jobs[0].Sources.first());
        testfiles::writeBytes(dir.filePath(QStringLiteral("src/a.txt")), "content");
        settings.EditTemp = dir.filePath(QStringLiteral("temp"));
    }

    // Runs the jobs to their end, as the window's Run command does.
    void runToTheEnd(bool autoRun = false)
    {
        session.Runs().State().armAutoRun(autoRun);
        session.Runs().State().request();
        ASSERT_TRUE(session.Start(jobs, settings, dir.filePath(QStringLiteral("Jobs.dat"))));
        ASSERT_TRUE(testapp::waitUntil([this] { return session.TakeEndedRun(); }, 30000));
    }

    QTemporaryDir dir;
    TBlocks jobs;
    RunSettings settings;
    RecordingRunView display;
    RecordingWindow window;
    RunSession session{display, window, QStringLiteral("The Zentavo")};
};

} // namespace

TEST_F(RunSessionTest, KeepsTheReportItShowsAndTheRunsResult)
{
    runToTheEnd();
    EXPECT_EQ(session.ReportLines(), display.lines);
    EXPECT_TRUE(session.ReportLines().contains(QStringLiteral("Job - ") + sRes[0]));
    EXPECT_EQ(session.Result(), StatusOk);
    EXPECT_FALSE(session.TakeEndedRun());

    jobs[0].Sources = {dir.filePath(QStringLiteral("missing"))};
    session.ClearReport();
    const qsizetype shownBefore = display.lines.size();
    runToTheEnd();
    EXPECT_EQ(session.ReportLines(), display.lines.mid(shownBefore))
        << "the second run's report holds its own lines only";
    EXPECT_NE(session.Result(), StatusOk);
}

TEST_F(RunSessionTest, StartNoticesOpenTheNextRunOnly)
{
    session.AddStartNotice(QStringLiteral("The settings file is damaged"));
    runToTheEnd();
    EXPECT_TRUE(session.ReportLines().contains(QStringLiteral("The settings file is damaged")));

    session.ClearReport();
    runToTheEnd();
    EXPECT_FALSE(session.ReportLines().contains(QStringLiteral("The settings file is damaged")));
}

TEST_F(RunSessionTest, EndOfRunStepsActOnlyAfterAnAutomaticRunThatCloses)
{
    const struct {
        bool autoRun;
        bool close;
        bool acts;
    } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const auto &row : cases) {
        settings.CheckBoxAClose = row.close;
        settings.CheckBoxAPrint = true;
        settings.CheckBoxASend = true;
        window = RecordingWindow();
        session.ClearReport();
        runToTheEnd(row.autoRun);
        const QStringList runLines = session.ReportLines();
        ReportMailSettings mail;
        mail.EditEMail = QStringLiteral("admin@example.org");
        mail.EditPort = QStringLiteral("none");
        session.FinishRun(mail);
        SCOPED_TRACE(testing::Message() << "auto " << row.autoRun << " close " << row.close);
        EXPECT_EQ(window.closed, row.acts);
        EXPECT_EQ(window.printed.has_value(), row.acts);
        if (!row.acts) {
            EXPECT_EQ(session.ReportLines(), runLines);
            continue;
        }
        EXPECT_EQ(*window.printed, runLines);
        // The mail's own lines follow the run in the session's report.
        EXPECT_TRUE(session.ReportLines().contains(QStringLiteral("The port \"none\" is no port number")))
            << session.ReportLines().join(u'\n').toStdString();
    }
}

TEST_F(RunSessionTest, NoRunStartsWhileTheLastOneIsBeingFinished)
{
    settings.CheckBoxAClose = true;
    settings.CheckBoxAPrint = true;
    runToTheEnd(true);
    EXPECT_TRUE(session.CanStart());
    bool couldStart = true;
    window.whilePrinting = [&] { couldStart = session.CanStart() || session.Start(jobs, settings, QString()); };
    session.FinishRun({});
    EXPECT_FALSE(couldStart);
    EXPECT_TRUE(session.CanStart());
}

TEST_F(RunSessionTest, TheRunStartsFromTheMomentItWasAskedFor)
{
    FakeClockScope clock{QDateTime(QDate(2026, 3, 2), QTime(10, 0))};
    session.RequestRun();
    // The start dialog was open for a while.
    clock.clock().advanceSeconds(90 * 60);
    EXPECT_EQ(session.RunTime(), QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    jobs[0].SetStr(ArchiveName, dir.filePath(QStringLiteral("Job-*h*m.zip")));
    runToTheEnd();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Job-1000.zip"))))
        << session.ReportLines().join(u'\n').toStdString();
}
