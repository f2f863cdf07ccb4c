#pragma once

#include "shared/StyledLine.h"

#include <vector>

class QPrinter;

// Prints the lines one below the other, indented by eight blanks; a tab
// inside a line goes on to the next stop, eight blanks apart. Lines wider
// than the page wrap, so nothing is cut off; a line that no longer fits the
// page starts the next one. False when the printer could not be opened or a
// page not started.
bool PrintStyledLines(QPrinter &printer, const std::vector<StyledLine> &lines);
