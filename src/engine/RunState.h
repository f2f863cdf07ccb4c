#pragma once

#include "engine/RunRequests.h"

// The one owner of the run's state. The window asks it for a run, holds and
// stops it and takes the ended run; the worker sees only its RunRequests.
// Nothing else writes the flags.
//
// idle -> requested (the user asked, or an automatic run was armed)
//      -> running (the worker began) -> finishing (the worker ended, or the
//      window broke the run off; the window takes the ended run and prints
//      and mails its report) -> idle (the run is finished).
// A request withdrawn before the worker began goes back to idle.
class RunState final : public RunRequests {
    Q_OBJECT

public:
    enum class Phase { Idle, Requested, Running, Finishing };

    RunState() = default;

    Phase phase() const;
    bool RunRequested() const { return m_runRequested; }
    bool RunBusy() const { return m_runBusy; }
    bool RunEndHandled() const { return m_runEndHandled; }

    // The start of the program decides whether its run is automatic.
    void armAutoRun(bool autoRun) { m_autoRun = autoRun; }
    // The user asked for a run.
    void request() { m_runRequested = true; }
    // Nobody asks for a run any more: the start dialog was cancelled, the
    // job file could not be read, or the run was broken off or finished.
    void withdraw();
    // The automatic run is off (the user took over); a request stays.
    void dropAutoRun() { m_autoRun = false; }

    // A new worker is about to start: what stopped the last run is forgotten.
    void prepareWorker();
    // The worker makes no progress between hold and release.
    void hold();
    void release();
    // The worker ends at its next test point; the archiver stops, and with
    // stopCopy a file command or started program under way too.
    void stop(bool stopCopy);
    // The window ended a run that the worker, stopped at a test point, left
    // under way.
    void brokeOff() { m_runBusy = false; }

    // True once for a run that has ended and was not taken yet.
    bool takeEnded();
    // The taken run's report is printed and mailed: no run may start until
    // finished().
    void beginFinishing() { m_finishing = true; }
    bool finishing() const { return m_finishing; }
    // The ended run has been finished: the state is idle.
    void finished();

private:
    // Only on the window's thread: the ended run was taken and is not
    // finished yet; its report is being printed and mailed.
    bool m_endTaken = false;
    bool m_finishing = false;
};
