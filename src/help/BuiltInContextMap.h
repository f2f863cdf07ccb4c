#pragma once

#include "help/HelpContextMap.h"

namespace help {

// The help contexts of the programs' windows and controls, built from the
// help project's map file when the programs are built. Keys are a window's
// name, "_" and a control's name, as the help project names them.
const THelpContextMap &FormsContextMap();

// The stored form of that data (what the generated source holds).
QByteArray FormsContextMapData();

} // namespace help
