#pragma once

#include "RunSettings.h"
#include "VorrinControls.h"

// The run's settings taken from the settings dialog when the run starts:
// its controls as they are (command-line switches included), and the saved
// days off and report folder.
RunSettings runSettingsFrom(const zentavo::TVorrinControls &controls, const zentavo::TVorrinCopies &copies,
                            const QString &programFolder);
