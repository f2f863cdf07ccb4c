#include "ReportFilters.h"

#include "report/ReportLines.h"

namespace report {

namespace {

void removeLast(QStringList &lines, qsizetype count)
{
    lines.remove(lines.size() - std::min(count, lines.size()), std::min(count, lines.size()));
}

} // namespace

bool OnlyErrorsRep(QStringList &lines, const std::vector<quint8> &enabledJobStatuses, int runResult)
{
    if (runResult != 1 && runResult != 2)
        return false;

    // The run header ends with the first separator; the summary, its
    // separator, the end line and the empty line close the report.
    const qsizetype headerEnd = lines.indexOf(Separator);
    if (headerEnd >= 0)
        lines.remove(0, headerEnd + 1);
    removeLast(lines, qsizetype(enabledJobStatuses.size()) + 3);

    qsizetype i = 0;
    for (const quint8 status : enabledJobStatuses) {
        while (i < lines.size() && lines.at(i) != Separator) {
            if (status == 0)
                lines.removeAt(i);
            else
                ++i;
        }
        if (i < lines.size())
            lines.removeAt(i);
    }
    return true;
}

void SumRep(QStringList &lines, std::size_t enabledJobs)
{
    const qsizetype tail = qsizetype(enabledJobs) + 3; // summary, separator, end line
    removeLast(lines, 1);                              // the empty line
    while (lines.size() > tail + 1)
        lines.removeAt(lines.size() - tail - 1);
}

} // namespace report
