#include "engine/RunControl.h"

#include "RecordingRunView.h"
#include "engine/JobFileReader.h"
#include "report/ReportLines.h"
#include "shared/ConstStr.h"

#include "TestApplication.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zentavo;

namespace {

class RunControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testapp::application();
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(dir.filePath(QStringLiteral("src")));
        testfiles::writeBytes(dir.filePath(QStringLiteral("src/a.txt")), "content");
        const QString jobFile = dir.filePath(QStringLiteral("jobs.dat"));
        testfiles::writeBytes(
            jobFile,
            testfiles::cp1251Lines({QStringLiteral("header"), QStringLiteral(">"), QStringLiteral("Job"),
                                    dir.filePath(QStringLiteral("Job.zip")),
                                    QStringLiteral("D=") + dir.filePath(QStringLiteral("src")), QStringLiteral("C=")}));
        ASSERT_TRUE(ReadFDat(jobFile, jobs));
        settings.EditTemp = dir.filePath(QStringLiteral("temp"));
        control.State().request();
    }

    QTemporaryDir dir;
    TBlocks jobs;
    RunSettings settings;
    RecordingRunView view;
    TRunControl control{view};
};

} // namespace

TEST_F(RunControlTest, HeldRunRefusesASecondStartAndBreaksWithItsLines)
{
    control.State().hold();
    ASSERT_TRUE(control.StartRun(jobs, settings));
    ASSERT_TRUE(testapp::waitUntil([this] { return control.Busy(); }, 10000));
    EXPECT_FALSE(control.StartRun(jobs, settings));

    control.Break(true);
    EXPECT_FALSE(control.Busy());
    EXPECT_FALSE(control.State().RunRequested());
    ASSERT_GE(view.lines.size(), 4);
    EXPECT_TRUE(view.lines.at(view.lines.size() - 4).endsWith(sUserBroke));
    EXPECT_EQ(view.lines.at(view.lines.size() - 3), report::Separator);
    EXPECT_EQ(view.lines.last(), QString());
    EXPECT_EQ(control.OverallResult(), StatusFatal);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Job.zip"))));
    EXPECT_TRUE(control.TakeEndedRun());
    EXPECT_FALSE(control.TakeEndedRun());
}

TEST_F(RunControlTest, BreakAfterTheRunHasEndedLeavesItsReportAlone)
{
    ASSERT_TRUE(control.StartRun(jobs, settings));
    control.WaitForWorker();
    const QStringList finished = view.lines;
    ASSERT_TRUE(finished.contains(QStringLiteral("Job - ") + sRes[0]));

    control.Break(true);
    EXPECT_EQ(view.lines, finished);
    EXPECT_EQ(control.OverallResult(), StatusOk);
    EXPECT_EQ(control.EnabledStatuses(), std::vector<quint8>{StatusOk});
}
