#include "EndOfRun.h"

#include "report/ReportFilters.h"

#include <QDebug>

#include <exception>

bool FilterReport(QStringList &lines, const FinishedRun &run)
{
    QStringList summary = lines;
    if (run.settings.CheckBoxASumRep)
        report::SumRep(summary, run.enabledStatuses.size());
    if (!run.settings.CheckBoxAOnlyErrors) {
        lines = summary;
        return true;
    }
    if (!report::OnlyErrorsRep(lines, run.enabledStatuses, run.overallResult))
        return false;
    // Both cuts: the failed sections, then the summary of the whole run
    // (the errors-only cut has removed the summary the other cut looks for).
    if (run.settings.CheckBoxASumRep)
        lines += summary;
    return true;
}

void FinishAutomaticRun(const FinishedRun &run, EndOfRunActions &actions)
{
    const RunSettings &settings = run.settings;
    if (!run.autoRun || !settings.CheckBoxAClose)
        return;
    if (settings.CheckBoxAPrint) {
        QStringList lines = run.reportLines;
        if (FilterReport(lines, run)) {
            try {
                if (!actions.printReport(lines))
                    qWarning("The report of the run was not printed");
            } catch (const std::exception &failure) {
                qWarning("The report of the run was not printed: %s", failure.what());
            }
        }
    }
    if (settings.CheckBoxASend) {
        QStringList lines = run.reportLines;
        if (FilterReport(lines, run))
            actions.mailReport(lines, run.overallResult);
    }
    if (settings.CheckBoxAPower)
        actions.powerOff();
    actions.closeWindow();
}
