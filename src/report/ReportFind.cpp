#include "ReportFind.h"

namespace report {

int FindReportLine(const QStringList &lines, int start, const FindOptions &options)
{
    // An empty text is found nowhere rather than on every line.
    if (options.text.isEmpty())
        return -1;
    const Qt::CaseSensitivity sensitivity = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int step = options.down ? 1 : -1;
    // Up from no selection would begin at -2; it finds nothing, as intended.
    for (int line = start + step; line >= 0 && line < lines.size(); line += step) {
        if (lines.at(line).contains(options.text, sensitivity))
            return line;
    }
    return -1;
}

} // namespace report
