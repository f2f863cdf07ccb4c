#pragma once

#include <memory>

namespace platform {

// Switching the computer off, behind an interface so that tests put a fake
// in its place and never switch a machine off.
class PowerControl {
public:
    virtual ~PowerControl() = default;
    // True when the system accepted the request.
    virtual bool powerOff() = 0;
};

// The power control in use. Until a program installs one (the main program
// installs LogindPowerControl at start-up) it is one that refuses every
// request, so no code path can switch off the machine that runs the tests.
PowerControl &powerControl();
// Installs a power control; nullptr goes back to the refusing one.
void setPowerControl(std::unique_ptr<PowerControl> control);

} // namespace platform
