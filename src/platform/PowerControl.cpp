#include "PowerControl.h"

namespace platform {

namespace {

class RefusingPowerControl final : public PowerControl {
public:
    bool powerOff() override { return false; }
};

std::unique_ptr<PowerControl> &installed()
{
    static std::unique_ptr<PowerControl> control;
    return control;
}

} // namespace

PowerControl &powerControl()
{
    static RefusingPowerControl refusing;
    PowerControl *control = installed().get();
    return control ? *control : refusing;
}

void setPowerControl(std::unique_ptr<PowerControl> control)
{
    installed() = std::move(control);
}

} // namespace platform
