#include "ProgressGate.h"

#include <QElapsedTimer>

namespace {

qint64 steadyMilliseconds()
{
    static const QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started.elapsed();
}

} // namespace

ProgressGate::ProgressGate(Clock clock) : m_clock(clock ? std::move(clock) : Clock(&steadyMilliseconds))
{
}

void ProgressGate::Reset()
{
    m_filePercent = m_overallPercent = -1;
    m_offered.clear();
    m_shown.reset();
}

bool ProgressGate::changed(int &shown, int percent)
{
    if (percent == shown)
        return false;
    shown = percent;
    return true;
}

std::optional<QString> ProgressGate::DueLabel()
{
    if (m_shown == m_offered)
        return std::nullopt;
    const qint64 now = m_clock();
    if (m_shown && now - m_shownAt < LabelIntervalMs)
        return std::nullopt;
    m_shown = m_offered;
    m_shownAt = now;
    return m_shown;
}
