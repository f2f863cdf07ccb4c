#pragma once

#include "scheduler/widgets/Tray.h"

#include <memory>

namespace zentavo {

// The scheduler's start: the single-instance guard, the tray window with the
// settings, the offer to create a job file when none is set, and the run
// that "On startup" asks for. nullptr when the program is to end at once
// (another scheduler runs, or the guard could not be taken); exitCode tells
// the program's result then.
std::unique_ptr<TTrayForm> StartVorrin(int &exitCode);

} // namespace zentavo
