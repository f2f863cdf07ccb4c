#pragma once

#include "editor/PelvoExt.h"

#include <QString>
#include <QStringList>

class QPrinter;

namespace pelvo {

// The editor's print command: prints the description of the editor's jobs,
// named by the job selector's names at the same index, under the running
// program's version and the job file being edited. False when nothing was
// printed (dialog cancelled, printer not opened).
bool PrintJobs(QPrinter &printer, const QStringList &jobNames, const TBlocks &blocks, const QString &jobFileName);

} // namespace pelvo
