#pragma once

#include <atomic>
#include <chrono>
#include <thread>

// How the run was started; set before the worker starts and dropped by the
// window when the user takes over.
struct RunMode {
    std::atomic<bool> AutoRun{false}; // started to run at once, with the end-of-run actions
};

// What the window (or the user's answers in the worker) asks of the run;
// the worker polls them at its test points.
struct RunRequests {
    std::atomic<bool> RunRequested{false};  // the user asked for a run
    std::atomic<bool> ArchiveCancel{false}; // the archiver is to stop
    std::atomic<bool> Terminated{false};    // the run is to end at its next test point
    std::atomic<bool> Paused{false};        // the worker waits at its next test point
    std::atomic<bool> CopyStop{false};      // a file command or started program under way is to stop

    // A test point of the worker: waits while the window holds the run (it
    // asks the user whether to stop), then tells whether the run must end.
    bool stopRequested() const
    {
        while (Paused && !Terminated)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return Terminated;
    }
};

// Where the run stands: the worker sets both at its start and clears busy
// at its end; the window marks the end handled, and clears busy when it
// breaks the run off.
struct RunOutcome {
    std::atomic<bool> RunBusy{false};      // a run is under way
    std::atomic<bool> RunEndHandled{true}; // the window has finished the last run
};

// The flags that the main window and the run's worker share, one group each
// for the mode, the requests and the outcome.
struct RunFlags : RunMode, RunRequests, RunOutcome {};
