#pragma once

#include "platform/Clock.h"

#include <memory>

// A clock that stands still until the test moves it. Installed for the
// lifetime of a FakeClockScope; the system clock comes back afterwards.
class FakeClock final : public platform::Clock {
public:
    explicit FakeClock(QDateTime start) : m_now(std::move(start)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &when) { m_now = when; }
    void advanceSeconds(qint64 seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};

class FakeClockScope {
public:
    explicit FakeClockScope(const QDateTime &start)
    {
        auto clock = std::make_unique<FakeClock>(start);
        m_clock = clock.get();
        platform::setClock(std::move(clock));
    }
    ~FakeClockScope() { platform::setClock(nullptr); }
    FakeClockScope(const FakeClockScope &) = delete;
    FakeClockScope &operator=(const FakeClockScope &) = delete;

    FakeClock &clock() { return *m_clock; }

private:
    FakeClock *m_clock;
};
