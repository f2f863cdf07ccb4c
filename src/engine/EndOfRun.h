#pragma once

#include "engine/RunSettings.h"

#include <QStringList>

#include <vector>

// What the main window does when an automatic run has ended.
class EndOfRunActions {
public:
    virtual ~EndOfRunActions() = default;
    // Prints the lines without a dialog; False when nothing was printed.
    virtual bool printReport(const QStringList &lines) = 0;
    virtual void mailReport(const QStringList &lines, int overallResult) = 0;
    virtual void powerOff() = 0;
    virtual void closeWindow() = 0;
};

// The finished run as the end-of-run actions see it.
struct FinishedRun {
    QStringList reportLines;             // the report list of the window
    std::vector<quint8> enabledStatuses; // run status of each enabled job, in order
    int overallResult = 0;
    RunSettings settings; // as frozen at the run's start
    bool autoRun = false;
};

// The report cut as configured for printing or mailing; False when there is
// nothing to send (errors only and no job failed). With both cuts the failed
// sections come first, then the summary.
bool FilterReport(QStringList &lines, const FinishedRun &run);

// After an automatic run with close-after-run: print, mail, power off and
// close, each as configured, in this order. Print and mail each cut a fresh
// copy of the report. A failing print does not keep the later steps from
// happening. Nothing happens without close-after-run or after a manual run.
void FinishAutomaticRun(const FinishedRun &run, EndOfRunActions &actions);
