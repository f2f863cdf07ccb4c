#pragma once

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <mutex>

// What the run's worker sees of its run: the requests it obeys at its test
// points, whether anybody is there to answer, and where it marks the run's
// start and end. Only the run's owner (RunState) changes the requests; the
// worker never sees how the window asks for them.
class RunRequests : public QObject {
    Q_OBJECT

public:
    // A test point of the worker: waits while the window holds the run (it
    // asks the user whether to stop), then tells whether the run must end.
    bool stopRequested() const;
    bool Terminated() const { return m_terminated; }
    bool ArchiveCancel() const { return m_archiveCancel; }
    // The automatic run: nobody may be at the window to answer a question.
    bool AutoRun() const { return m_autoRun; }

    // The user cancelled the archive from a question of the worker's.
    void cancelArchive() { m_archiveCancel = true; }

    // What a started program or a file command polls while it waits.
    const std::atomic<bool> *terminatedFlag() const { return &m_terminated; }
    const std::atomic<bool> *copyStopFlag() const { return &m_copyStop; }

    // The worker's first step: True, and the run is under way, when a run
    // was asked for (automatic or by the user); False, and it ends at once.
    bool beginRun();
    // The worker's last step: the run is over and waits to be finished.
    void endRun();

signals:
    // From the worker's thread, after the run's last report line.
    void ended();

protected:
    RunRequests() = default;

    std::atomic<bool> m_autoRun{false};      // started to run at once, with the end-of-run actions
    std::atomic<bool> m_runRequested{false}; // the user asked for a run
    std::atomic<bool> m_runBusy{false};      // a run is under way
    std::atomic<bool> m_runEndHandled{true}; // the last run has been finished
    std::atomic<bool> m_archiveCancel{false};
    std::atomic<bool> m_terminated{false};
    std::atomic<bool> m_copyStop{false};

    // The hold: the worker waits on it at its test points.
    mutable std::mutex m_holdMutex;
    mutable std::condition_variable m_holdChanged;
    bool m_held = false;
};
