#pragma once

#include "shared/StyledLine.h"
#include "shared/ZentavoExt.h"

#include <QString>

#include <vector>

class QPrinter;

// Shows the print dialog, set to one copy, and prints the lines. A cancelled
// dialog or a printer that cannot be opened prints nothing and shows no
// message; the result tells whether the description was printed.
bool PrintDescription(QPrinter &printer, const std::vector<StyledLine> &lines);

namespace zentavo {

// Prints the description of the main program's jobs under the running
// program's version and the job file's name.
bool PrintJob(QPrinter &printer, const QString &jobFileName, const TBlocks &jobs);

} // namespace zentavo
