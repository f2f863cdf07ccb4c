#pragma once

#include <QStringView>

// How the report viewer and the main window's report list show a report
// line. The language texts decide, compared case-sensitively; a text that a
// translator emptied matches no line.
namespace report {

enum class RowKind {
    Header, // start and end of a run, the title of a printed report: a shaded row
    Job,    // the first line of a job's section: bold
    Other,
};

// The number of each line icon is its place in the viewer's image list.
enum class LineIcon {
    None = 0, // empty lines, separators, start and end lines
    Job = 1,
    Other = 6,
    Ok = 7,
    Error = 8,
};

RowKind RowKindOf(QStringView line);
LineIcon LineIconOf(QStringView line);

// Odd rows are banded so that long reports stay readable; a selected row
// shows the selection instead.
bool IsBandedRow(int row, bool selected);

// A line that does not fit its row is shown whole as a hint over the row.
bool NeedsLineHint(int textWidth, int itemRight);

// Printed lines in bold: a job's failure and a missing source.
bool IsBoldPrintLine(QStringView line);

} // namespace report
