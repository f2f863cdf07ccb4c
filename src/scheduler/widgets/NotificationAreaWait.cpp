#include "NotificationAreaWait.h"

#include "platform/Clock.h"

namespace zentavo {

namespace {

constexpr int CheckIntervalMs = 1000;

} // namespace

NotificationAreaWait::NotificationAreaWait(std::function<bool()> available, std::function<void()> tellMissing,
                                           QObject *parent)
    : QObject(parent)
    , m_available(std::move(available))
    , m_tellMissing(std::move(tellMissing))
{
    m_timer.setInterval(CheckIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &NotificationAreaWait::Check);
}

void NotificationAreaWait::Start()
{
    if (m_available())
        return;
    m_since = platform::now();
    m_timer.start();
}

void NotificationAreaWait::Check()
{
    if (!Waiting())
        return;
    if (m_available()) {
        m_timer.stop();
        return;
    }
    // The time is measured, not counted in ticks: a tick held up by a busy
    // moment must not stretch the wait.
    if (m_since.secsTo(platform::now()) < GraceSeconds)
        return;
    m_timer.stop();
    m_tellMissing();
}

} // namespace zentavo
