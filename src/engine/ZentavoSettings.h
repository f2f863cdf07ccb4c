#pragma once

#include "ReportMail.h"
#include "RunSettings.h"
#include "VorrinControls.h"

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

// The main program's settings from the settings dialog's controls and saved copies.
ZentavoSettings zentavoSettingsFrom(const zentavo::TVorrinControls &controls, const zentavo::TVorrinCopies &copies,
                                    const QString &programFolder);

// Reads every setting afresh from the settings store.
ZentavoSettings LoadZentavoSettings();
