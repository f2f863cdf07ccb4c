#pragma once

#include "ReportMail.h"
#include "RunSettings.h"

#include <QString>

// The settings of the main program as its settings dialog holds them in
// memory: what a run freezes, the mail of the report and the start-up
// choices. The command-line switches change them without saving.
struct ZentavoSettings {
    RunSettings Run;
    ReportMailSettings Mail;
    bool CheckBoxMenu = false;  // job menu before the run
    bool CheckBoxPause = false; // pause before the run
    bool CheckBoxTime = false;  // the pause counts down
    QString EditTime;           // its minutes
    QString EditFJob;           // default job file
};

// The folder the programs write their report and journal to by default: the
// program's folder when it is writable, otherwise the user's data folder;
// ends in a separator.
QString DefaultDataFolder();

// The settings as they stand before the settings store is read: the report
// on and appended in the default folder, everything else at its design value.
// TODO(settings): replaced by a load through the settings store
// (LoadVorrinSettings and runSettingsFrom) when it is on main.
ZentavoSettings LoadZentavoSettings();
