#pragma once

#include <QDateTime>

#include <memory>

namespace platform {

// The time of day as the programs read it, behind an interface so that tests
// set the time instead of waiting for it (the pause countdown, the elapsed
// time, report time stamps, the schedule).
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

// The clock in use: the system's until a test installs another.
Clock &clock();
// Installs a clock; nullptr goes back to the system's.
void setClock(std::unique_ptr<Clock> clock);

// clock().now(), where a function is wanted.
QDateTime now();

} // namespace platform
