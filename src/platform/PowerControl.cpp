#include "PowerControl.h"

#include "platform/InstalledService.h"

namespace platform {

namespace {

class RefusingPowerControl final : public PowerControl {
public:
    bool powerOff() override { return false; }
};

using Installed = InstalledService<PowerControl, RefusingPowerControl>;

} // namespace

PowerControl &powerControl()
{
    return Installed::current();
}

void setPowerControl(std::unique_ptr<PowerControl> control)
{
    Installed::install(std::move(control));
}

} // namespace platform
