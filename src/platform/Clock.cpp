#include "Clock.h"

#include "platform/InstalledService.h"

namespace platform {

namespace {

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

using Installed = InstalledService<Clock, SystemClock>;

} // namespace

Clock &clock()
{
    return Installed::current();
}

void setClock(std::unique_ptr<Clock> clock)
{
    Installed::install(std::move(clock));
}

QDateTime now()
{
    return clock().now();
}

} // namespace platform
