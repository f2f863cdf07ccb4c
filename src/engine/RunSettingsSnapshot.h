#pragma once

#include "RunSettings.h"
#include "VorrinControls.h"

// The run's settings taken from the main program's settings: the values as
// the dialog shows them, and the saved days off and report folder.
RunSettings runSettingsFrom(const zentavo::VorrinSettings &settings, const QString &programFolder);
