#pragma once

#include "engine/RunEngine.h"

#include <QThread>

// The worker thread of one run: runs the engine over its own copy of the
// jobs and settings at the priority the settings give.
class TMyThread final : public QThread {
public:
    TMyThread(zentavo::TBlocks blocks, RunSettings settings, RunContext context, RunRequests &requests, RunView &view,
              RunReport &report);

    const TRunEngine &Engine() const { return m_engine; }

protected:
    void run() override;

private:
    TRunEngine m_engine;
};
