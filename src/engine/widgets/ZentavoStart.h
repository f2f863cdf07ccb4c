#pragma once

#include "engine/widgets/FZentavo.h"

#include <QStringList>

#include <memory>

namespace zentavo {

// The main program's start: the switches over the settings, the job file
// (offering the editor when none is set), the main window with its start
// dialog for an automatic run, and the worker. nullptr when the program is
// to end at once: an unknown switch (after the usage message), "/?" where
// nobody can see its help window (after the help on standard output), or a
// start dialog that was cancelled. exitCode tells the program's result then
// (see TFormZentavo::ExitStatus).
std::unique_ptr<TFormZentavo> StartZentavo(const QStringList &arguments, TFormZentavo::SettingsLoader loadSettings,
                                           int &exitCode);

} // namespace zentavo
