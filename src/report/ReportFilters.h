#pragma once

#include <QStringList>

#include <vector>

// Cuts of a finished run's report for printing and mailing after an
// automatic run. Both work on a copy of the report's lines and take the run
// status of every enabled job in job order.
namespace report {

// Keeps only the sections of the jobs that failed, each from its job line,
// without header, separators or summary. False, with nothing cut, when the
// run's result is ok.
bool OnlyErrorsRep(QStringList &lines, const std::vector<quint8> &enabledJobStatuses, int runResult);

// Keeps the start line and the summary with its separators and end line.
void SumRep(QStringList &lines, std::size_t enabledJobs);

} // namespace report
