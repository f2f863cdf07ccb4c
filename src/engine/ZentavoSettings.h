#pragma once

#include "engine/ReportMail.h"
#include "engine/RunSettings.h"
#include "settings/VorrinControls.h"

#include <QString>

// The main program's view of the settings it holds: what a run freezes, the
// mail of the report and the start-up choices. The command-line switches
// change them without saving.
struct ZentavoSettings {
    RunSettings Run;
    ReportMailSettings Mail;
    bool CheckBoxMenu = false;  // job menu before the run
    bool CheckBoxPause = false; // pause before the run
    bool CheckBoxTime = false;  // the pause counts down
    QString EditTime;           // its minutes
    QString EditFJob;           // default job file
};

// The main program's settings from the settings as the store loaded them.
ZentavoSettings zentavoSettingsFrom(const zentavo::VorrinSettings &stored, const QString &programFolder);
