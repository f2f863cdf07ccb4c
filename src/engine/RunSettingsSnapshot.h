#pragma once

#include "engine/RunSettings.h"
#include "settings/VorrinControls.h"

// The run's settings taken from the main program's settings: the values as
// the dialog shows them, and the saved days off and report folder.
RunSettings runSettingsFrom(const zentavo::VorrinSettings &settings, const QString &programFolder);
