#pragma once

#include "shared/Common.h"

#include <QString>

// What the run shows while it works: the main window's labels, gauges and
// report list. The worker calls it from its own thread; the window carries
// each call to its own thread in order. The file label and the overall gauge
// are the file commands' progress.
class RunView : public zentavo::FileProgress {
public:
    // One line at the end of the report list.
    virtual void addReportLine(const QString &line) = 0;
    // The window gets ready for a run: commands off, busy cursor, clock at zero.
    virtual void runStarting() = 0;
    // The job under way: its title, and "n/count" counted from 1.
    virtual void showJob(const QString &title, int number, int count) = 0;
    // The archiving progress of the job in percent, in the title and the overall gauge.
    virtual void showArchiveProgress(int percent, const QString &title) = 0;
    // The progress of the file being archived, in percent.
    virtual void setFileGauge(int percent) = 0;
    // The run is over: every line of it has been added before this call.
    virtual void runEnded() = 0;
};
