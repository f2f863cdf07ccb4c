#include "RunRequests.h"

bool RunRequests::stopRequested() const
{
    std::unique_lock lock(m_holdMutex);
    m_holdChanged.wait(lock, [this] { return !m_held || m_terminated; });
    return m_terminated;
}

bool RunRequests::beginRun()
{
    m_runBusy = false;
    if (!m_autoRun && !m_runRequested)
        return false;
    m_copyStop = false;
    m_archiveCancel = false;
    m_runBusy = true;
    m_runEndHandled = false;
    return true;
}

void RunRequests::endRun()
{
    m_runBusy = false;
    emit ended();
}
