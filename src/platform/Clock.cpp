#include "Clock.h"

namespace platform {

namespace {

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

std::unique_ptr<Clock> &installed()
{
    static std::unique_ptr<Clock> clock;
    return clock;
}

} // namespace

Clock &clock()
{
    static SystemClock system;
    Clock *clock = installed().get();
    return clock ? *clock : system;
}

void setClock(std::unique_ptr<Clock> clock)
{
    installed() = std::move(clock);
}

QDateTime now()
{
    return clock().now();
}

} // namespace platform
