#include "RunSettingsSnapshot.h"

namespace {

// A whole number of kilobytes typed into a settings text; 0 for anything else.
int kilobytes(const QString &text)
{
    bool isNumber = false;
    const int value = text.trimmed().toInt(&isNumber);
    return isNumber && value > 0 ? value : 0;
}

} // namespace

RunSettings runSettingsFrom(const zentavo::VorrinSettings &settings, const QString &programFolder)
{
    const zentavo::TVorrinControls &controls = settings.Controls;
    const zentavo::TVorrinCopies &copies = settings.Copies;
    const zentavo::TVorrinEnabled enabled = zentavo::EnabledControls(controls);
    RunSettings run;
    run.CheckBoxAClose = controls.CheckBoxAClose;
    run.CheckBoxAPrint = controls.CheckBoxAPrint;
    run.CheckBoxAOnlyErrors = controls.CheckBoxAOnlyErrors;
    run.CheckBoxASumRep = controls.CheckBoxASumRep;
    run.CheckBoxASend = controls.CheckBoxASend;
    run.CheckBoxAPower = controls.CheckBoxAPower;
    run.TabSheetOptions = copies.GroupBoxDaysTag;

    run.CheckBoxRep = controls.CheckBoxRep;
    run.CheckBoxRepAdd = controls.CheckBoxRepAdd;
    run.EditRepSize = controls.CheckBoxRepSize ? kilobytes(controls.EditRepSize) : 0;
    run.ButtonRepDir = copies.ButtonRepDirHint;

    run.CheckBoxInfoPath = controls.CheckBoxInfoPath;
    run.RadioButtonRPath = !controls.RadioButtonFPath;
    run.RadioButtonOEM = controls.RadioButtonOEM;
    run.CheckBoxWithDrive = controls.CheckBoxWithDrive;
    run.CheckBoxRecurse = controls.CheckBoxRecurse;
    run.CheckBoxDelBad = controls.CheckBoxDelBad;
    run.CheckBoxEmptyFolders = controls.CheckBoxEmptyFolders;
    run.CheckBoxSFX = controls.CheckBoxSFX && enabled.ArchiveVolumes;
    run.ComboBoxComp = controls.ComboBoxComp;
    run.ComboBoxPrior = controls.ComboBoxPrior;
    run.RadioButtonArcNew = !controls.RadioButtonArcAdd;
    // A typed volume size of zero or less means no volumes.
    run.ComboBoxVol = controls.ComboBoxVolIndex >= 0 ? -controls.ComboBoxVolIndex : kilobytes(controls.ComboBoxVolText);
    run.EditTemp = controls.EditTemp;
    run.ProgramFolder = programFolder;
    return run;
}
