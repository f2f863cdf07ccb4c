#include "engine/EndOfRun.h"

#include "report/ReportLines.h"
#include "shared/ConstStr.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zentavo;

namespace {

class RecordingActions : public EndOfRunActions {
public:
    bool printReport(const QStringList &lines) override
    {
        steps << QStringLiteral("print");
        printed = lines;
        if (printFails)
            throw std::runtime_error("printer gone");
        return !printRefuses;
    }
    void mailReport(const QStringList &lines, int overallResult) override
    {
        steps << QStringLiteral("mail");
        mailed = lines;
        mailedResult = overallResult;
    }
    void powerOff() override { steps << QStringLiteral("power"); }
    void closeWindow() override { steps << QStringLiteral("close"); }

    QStringList steps;
    QStringList printed;
    QStringList mailed;
    int mailedResult = -1;
    bool printFails = false;
    bool printRefuses = false;
};

// A run of two jobs; the second one failed when failed is set.
FinishedRun twoJobRun(bool failed)
{
    FinishedRun run;
    run.reportLines = {report::timed(sBeginProcess),
                       report::Separator,
                       sJob + QStringLiteral(" A"),
                       QStringLiteral("Ok!"),
                       report::Separator,
                       sJob + QStringLiteral(" B"),
                       failed ? QStringLiteral("broken") : QStringLiteral("Ok!"),
                       report::Separator,
                       QStringLiteral("A - ") + sRes[0],
                       QStringLiteral("B - ") + sRes[failed ? 2 : 0],
                       report::Separator,
                       report::timed(sEndProcess),
                       QString()};
    run.enabledStatuses = {0, quint8(failed ? 2 : 0)};
    run.overallResult = failed ? 2 : 0;
    run.autoRun = true;
    run.settings.CheckBoxAClose = true;
    run.settings.CheckBoxAPrint = true;
    run.settings.CheckBoxASend = true;
    run.settings.CheckBoxAPower = true;
    return run;
}

} // namespace

TEST(EndOfRun, PrintMailPowerOffCloseInThisOrder)
{
    RecordingActions actions;
    FinishAutomaticRun(twoJobRun(true), actions);
    EXPECT_EQ(actions.steps,
              (QStringList{QStringLiteral("print"), QStringLiteral("mail"), QStringLiteral("power"),
                           QStringLiteral("close")}));
    EXPECT_EQ(actions.mailedResult, 2);
    EXPECT_EQ(actions.printed, twoJobRun(true).reportLines);
}

TEST(EndOfRun, NothingWithoutCloseAfterRunOrAfterAManualRun)
{
    RecordingActions actions;
    FinishedRun manual = twoJobRun(true);
    manual.autoRun = false;
    FinishAutomaticRun(manual, actions);
    FinishedRun staying = twoJobRun(true);
    staying.settings.CheckBoxAClose = false;
    FinishAutomaticRun(staying, actions);
    EXPECT_TRUE(actions.steps.isEmpty());
}

TEST(EndOfRun, ErrorsOnlyWithEveryJobOkPrintsAndMailsNothingButStillEnds)
{
    RecordingActions actions;
    FinishedRun run = twoJobRun(false);
    run.settings.CheckBoxAOnlyErrors = true;
    FinishAutomaticRun(run, actions);
    EXPECT_EQ(actions.steps, (QStringList{QStringLiteral("power"), QStringLiteral("close")}));
}

TEST(EndOfRun, EachStepFiltersAFreshCopy)
{
    RecordingActions actions;
    FinishedRun run = twoJobRun(true);
    run.settings.CheckBoxAOnlyErrors = true;
    FinishAutomaticRun(run, actions);
    // Only the failed job's section, for print and mail alike.
    EXPECT_EQ(actions.printed, actions.mailed);
    EXPECT_EQ(actions.printed.first(), sJob + QStringLiteral(" B"));
    EXPECT_FALSE(actions.printed.contains(sJob + QStringLiteral(" A")));
}

TEST(EndOfRun, BothCutsGiveTheFailedSectionsAndTheSummary)
{
    FinishedRun run = twoJobRun(true);
    run.settings.CheckBoxAOnlyErrors = true;
    run.settings.CheckBoxASumRep = true;
    QStringList lines = run.reportLines;
    ASSERT_TRUE(FilterReport(lines, run));
    EXPECT_EQ(lines,
              QStringList({sJob + QStringLiteral(" B"), QStringLiteral("broken"), run.reportLines.first(),
                           report::Separator, QStringLiteral("A - ") + sRes[0], QStringLiteral("B - ") + sRes[2],
                           report::Separator, run.reportLines.at(11)}));

    run.settings.CheckBoxAOnlyErrors = false;
    lines = run.reportLines;
    ASSERT_TRUE(FilterReport(lines, run));
    EXPECT_EQ(lines.size(), 6); // start line, separator, two summary lines, separator, end line
}

TEST(EndOfRun, AFailingPrintDoesNotStopTheOtherSteps)
{
    // A printer that raises and one that only answers False.
    for (const bool raises : {true, false}) {
        RecordingActions actions;
        actions.printFails = raises;
        actions.printRefuses = !raises;
        FinishAutomaticRun(twoJobRun(true), actions);
        EXPECT_EQ(actions.steps,
                  (QStringList{QStringLiteral("print"), QStringLiteral("mail"), QStringLiteral("power"),
                               QStringLiteral("close")}));
    }
}
