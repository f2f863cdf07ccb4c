#pragma once

#include <QString>

#include <vector>

class QPrinter;

// One printed line with its own type: what the report and the job
// description print.
struct StyledLine {
    QString text;
    bool bold = false;
    bool italic = false;
    int pointSize = 10;
};

// Prints the lines one below the other, indented by eight blanks. Lines wider
// than the page wrap, so nothing is cut off; a line that no longer fits the
// page starts the next one. False when the printer could not be opened or a
// page not started.
bool PrintStyledLines(QPrinter &printer, const std::vector<StyledLine> &lines);
