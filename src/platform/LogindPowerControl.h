#pragma once

#include "platform/PowerControl.h"

namespace platform {

// Powers off through systemd-logind. The request is not interactive: an
// automatic run ends with nobody there to answer a password prompt, so a
// refusal by the system's policy is simply a False result.
class LogindPowerControl final : public PowerControl {
public:
    bool powerOff() override;
};

} // namespace platform
