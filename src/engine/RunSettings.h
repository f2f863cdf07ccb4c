#pragma once

#include <QString>

// The settings a run works with, frozen when it starts so that a change in
// the settings dialog during the run does not reach it. The fields carry the
// names of the settings dialog's controls they come from.
struct RunSettings {
    // End of an automatic run
    bool CheckBoxAClose = false;
    bool CheckBoxAPrint = false;
    bool CheckBoxAOnlyErrors = false;
    bool CheckBoxASumRep = false;
    bool CheckBoxASend = false;
    bool CheckBoxAPower = false;
    int TabSheetOptions = 0; // days off: bit i for weekday i, bit 0 Sunday

    // Report file
    bool CheckBoxRep = false;
    bool CheckBoxRepAdd = false;
    int EditRepSize = 0;  // KB, 0 without limit
    QString ButtonRepDir; // report folder

    // Archive
    bool CheckBoxInfoPath = false;
    bool RadioButtonRPath = false;
    bool RadioButtonOEM = false;
    bool CheckBoxWithDrive = false;
    bool CheckBoxRecurse = false;
    bool CheckBoxDelBad = false;
    bool CheckBoxEmptyFolders = false;
    bool CheckBoxSFX = false;
    int ComboBoxComp = 2;  // 0 none, 1 fastest, 2 normal, 3 maximum
    int ComboBoxPrior = 1; // 0 lowest, 1 normal, 2 highest
    bool RadioButtonArcNew = false;
    // 0 no volumes; -1 to -9 the preset sizes in list order; above 0 a size in KB
    int ComboBoxVol = 0;
    QString EditTemp; // temporary folder; empty for the system's

    // Where the self-extractor stub lies.
    QString ProgramFolder;
};
