#include "ReportPrinter.h"

#include "report/ReportLineClass.h"
#include "report/widgets/StyledLinePrinter.h"

bool PrintReport(QPrinter &printer, const QString &header, const QStringList &lines)
{
    std::vector<StyledLine> printed;
    // Each header line after the first begins with a tab: the indent every
    // printed line gets anyway.
    for (QString text : header.split(u'\n')) {
        if (text.startsWith(u'\t'))
            text.remove(0, 1);
        printed.push_back({{{.text = text, .bold = true}}});
    }
    printed.push_back({});
    printed.push_back({});
    for (const QString &line : lines)
        printed.push_back({{{.text = line, .bold = report::IsBoldPrintLine(line)}}});
    return PrintStyledLines(printer, printed);
}
