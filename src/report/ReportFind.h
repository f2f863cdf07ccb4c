#pragma once

#include <QString>
#include <QStringList>

// Finding text in the report viewer's lines.
namespace report {

struct FindOptions {
    QString text;
    bool down = true;
    bool matchCase = false;
};

// The first line after start (down) or before start (up) that holds the
// text; -1 when none does. start -1 (no line selected) searches down from the
// first line, and up finds nothing.
int FindReportLine(const QStringList &lines, int start, const FindOptions &options);

} // namespace report
