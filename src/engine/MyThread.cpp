#include "MyThread.h"

#include <array>

TMyThread::TMyThread(zentavo::TBlocks blocks, RunSettings settings, RunContext context, RunRequests &requests,
                     RunView &view, RunReport &report)
    : m_engine(std::move(blocks), std::move(settings), std::move(context), requests, view, report)
{
}

void TMyThread::run()
{
    constexpr std::array priorities{QThread::LowestPriority, QThread::NormalPriority, QThread::HighestPriority};
    const int index = std::clamp(m_engine.Settings().ComboBoxPrior, 0, int(priorities.size()) - 1);
    setPriority(priorities.at(std::size_t(index)));
    m_engine.Execute();
}
