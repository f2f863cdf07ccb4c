#pragma once

#include "engine/MyThread.h"
#include "engine/RunReport.h"
#include "engine/RunState.h"

#include <memory>
#include <vector>

// The main window's side of the run: it starts the worker, holds and stops
// it, and tells when a run has ended. It lives on the GUI thread.
class TRunControl {
public:
    explicit TRunControl(RunView &view);
    ~TRunControl();
    TRunControl(const TRunControl &) = delete;
    TRunControl &operator=(const TRunControl &) = delete;

    RunState &State() { return m_state; }
    const RunState &State() const { return m_state; }
    RunReport &Report() { return m_report; }

    // Starts a worker over copies of the jobs, settings and context.
    // Refused (False) while a worker is still running, so that a running
    // worker is never dropped and two runs never share the report.
    bool StartRun(zentavo::TBlocks blocks, RunSettings settings, RunContext context = {});

    bool HasWorker() const { return m_worker != nullptr; }
    // A worker exists and its run is under way.
    bool Busy() const { return m_worker && m_state.RunBusy(); }
    bool WorkerRunning() const { return m_worker && m_worker->isRunning(); }

    // Stops the run: the archiver cancels, the worker ends at its next test
    // point (a file copy under way too, with stopCopy) and is waited for
    // while events are processed; then the break lines end the report, the
    // job under way becomes a fatal error and the report file is closed and
    // trimmed. afterClose runs between closing and trimming. A run that
    // ended by itself meanwhile keeps its report as it is.
    void Break(bool stopCopy, const std::function<void()> &afterClose = {});

    // True once for a run that has ended and was not handled yet; the run
    // is finishing until State().finished().
    bool TakeEndedRun();

    // The finished run's statuses: the worker's jobs, with a broken job as
    // a fatal error.
    int OverallResult() const;
    std::vector<quint8> EnabledStatuses() const;
    // The settings the current (or last) run works with.
    RunSettings Settings() const;

    // Waits for the worker's end while processing events.
    void WaitForWorker();

private:
    RunView &m_view;
    RunState m_state;
    RunReport m_report;
    std::unique_ptr<TMyThread> m_worker;
    int m_brokenBlock = -1;
};
