#include "RunState.h"

RunState::Phase RunState::phase() const
{
    if (m_runBusy)
        return Phase::Running;
    if (!m_runEndHandled || m_endTaken)
        return Phase::Finishing;
    if (m_autoRun || m_runRequested)
        return Phase::Requested;
    return Phase::Idle;
}

void RunState::withdraw()
{
    m_autoRun = false;
    m_runRequested = false;
}

void RunState::prepareWorker()
{
    const std::lock_guard lock(m_holdMutex);
    m_terminated = false;
}

void RunState::hold()
{
    const std::lock_guard lock(m_holdMutex);
    m_held = true;
}

void RunState::release()
{
    {
        const std::lock_guard lock(m_holdMutex);
        m_held = false;
    }
    m_holdChanged.notify_all();
}

void RunState::stop(bool stopCopy)
{
    m_archiveCancel = true;
    if (stopCopy)
        m_copyStop = true;
    {
        const std::lock_guard lock(m_holdMutex);
        m_terminated = true;
        m_held = false;
    }
    m_holdChanged.notify_all();
}

bool RunState::takeEnded()
{
    if (m_runBusy || m_runEndHandled)
        return false;
    m_runEndHandled = true;
    m_endTaken = true;
    return true;
}

void RunState::finished()
{
    m_endTaken = false;
    m_finishing = false;
    m_runRequested = false;
}
