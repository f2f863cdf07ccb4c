#pragma once

#include <QString>

// The lines the main program's About box adds after its own version: the
// archive and mail components the engine runs on.
QString ComponentsAbout();
