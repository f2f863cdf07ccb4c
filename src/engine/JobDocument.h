#pragma once

#include "shared/ZentavoExt.h"

#include <QString>

// The job file the main window works with: its path and its jobs as last
// read. It belongs to the window and the GUI thread; a run works on a copy
// of the jobs and takes the path with it in its RunContext.
struct JobDocument {
    QString path;
    zentavo::TBlocks jobs;
};
