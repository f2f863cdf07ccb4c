#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The settings of the main program and the scheduler as the settings dialog
// shows them, without widgets: the load fills it from the store, the save
// writes it back, and the dialog mirrors it in its controls. Fields are
// named after the controls that show them; the initial values are the
// controls' designed state.
namespace zentavo {

enum class ScheduleMode { OnStartup, Daily, Weekly, Monthly };

// Item counts of the combo boxes; their item texts live on the form.
constexpr int CompressItems = 4; // "No", "Minimum", "Normal", "Maximum"
constexpr int PriorityItems = 3; // "Low", "Normal", "High"

// The volume sizes offered, in the order whose index the settings store;
// item 0 means no volumes and the run maps every other item to a size.
constexpr std::array<const char *, 10> VolumeItemTexts = {"None",
                                                          "Autodetect",
                                                          "Floppy disk (1.44 Mb)",
                                                          "Zip-Drive (100 Mb)",
                                                          "Zip-Drive (250 Mb)",
                                                          "MO disk (200 Mb)",
                                                          "MO disk (600 Mb)",
                                                          "CD disk (650 Mb)",
                                                          "CD disk (700 Mb)",
                                                          "DVD disk (4700 Mb)"};
constexpr int VolumeItems = int(VolumeItemTexts.size());

struct TVorrinControls {
    // Options page
    QString EditFJob;
    int ComboBoxPrior = 1;
    std::array<bool, 7> CheckBoxDay{}; // days off, 0 Sunday
    bool CheckBoxPause = false;
    bool CheckBoxMenu = false;
    bool CheckBoxTime = false;
    QString EditTime;
    bool CheckBoxAClose = false;
    bool CheckBoxAPrint = false;
    bool CheckBoxASend = false;
    bool CheckBoxAOnlyErrors = false;
    bool CheckBoxASumRep = false;
    bool CheckBoxAPower = false;

    // Archive page
    bool RadioButtonArcAdd = false; // else RadioButtonArcNew
    int ComboBoxComp = 2;
    bool CheckBoxRecurse = false;
    bool CheckBoxSFX = false;
    bool CheckBoxDelBad = false;
    bool CheckBoxInfoPath = false;
    bool RadioButtonFPath = false; // else RadioButtonRPath
    bool CheckBoxWithDrive = false;
    bool RadioButtonOEM = false; // else RadioButtonWin
    int ComboBoxVolIndex = 0;    // -1: the user typed a size into the combo
    QString ComboBoxVolText;     // that size, when the index is -1
    QString EditTemp;
    bool CheckBoxEmptyFolders = false;

    // Mail page
    QString EditEMail;
    QString EditHost;
    QString EditPort;
    bool CheckBoxHelo = false;
    QString EditSubject;
    QString EditFrom;
    QString EditUserName;
    QString EditPassword;
    bool CheckBoxAuth = false;

    // Report page
    bool CheckBoxRep = false;
    bool CheckBoxRepAdd = false;
    bool CheckBoxRepSize = false;
    QString EditRepSize = QStringLiteral("500");
    bool CheckBoxRun = false;
    bool CheckBoxRunAdd = false;
    bool CheckBoxRunSize = false;
    QString EditRunSize = QStringLiteral("500");
    // The report and journal folders are the Hints of their Location
    // buttons, kept in TVorrinCopies: the folder picker sets them in the
    // dialog's copy at once.

    // Schedule page
    ScheduleMode Mode = ScheduleMode::Daily;
    bool CheckBoxOnce = false;
    bool CheckBoxNotWeek = false;
    bool CheckBoxMin = false;
    std::array<bool, 7> DayOfWeek{};  // 0 Sunday
    std::array<bool, 31> BitBtnDay{}; // the buttons BitBtn1 to BitBtn31 switched on
    QStringList ListBoxTimes = {QStringLiteral("22:00")};

    bool operator==(const TVorrinControls &) const = default;
};

// The "DaysOfWeek" code of "On startup"; below it, 0 is daily or monthly and
// any other code the weekly day mask with bit 0 for Sunday.
constexpr int ScheduleOnStartup = 128;

// The copies of saved values that the scheduler, the run and the report
// writer read instead of the controls, so that only loaded or saved values
// act there, never unsaved edits. Each is set by the load and by the save.
struct TVorrinCopies {
    int CheckBoxDay1Tag = 0;    // the days-off mask ("Holidays"), bit 0 Sunday
    int GroupBoxDaysTag = 0;    // the same mask, for the main program's run
    int DayOfWeek1Tag = 0;      // the "DaysOfWeek" code: 0, weekday bits, or 128 on startup
    int PanelWeekDaysTag = 0;   // the same code
    int CheckBoxNotWeekTag = 0; // "Except days off", 0 or 1
    int CheckBoxOnceTag = 0;    // "Once per day", 0 or 1
    int CheckBoxMinTag = 0;     // "Run minimized", 0 or 1
    int CheckBoxRunTag = 0;     // journal on, 0 or 1
    int CheckBoxRunAddTag = 0;  // journal appended, 0 or 1
    int EditRunSizeTag = 0;     // journal limit in KB, 0 for none
    QString ButtonRepDirHint;   // report folder, ending in a separator; also set by the folder picker
    QString ButtonRunDirHint;   // journal folder, ending in a separator; also set by the folder picker
    QStringList ScheduleTimes;  // the start times "HH:MM"
    QString ScheduleMonthDays;  // the "DaysOfMonth" text

    bool operator==(const TVorrinCopies &) const = default;
};

// Every setting of the main program and the scheduler as one value: the
// store loads and saves it, each program holds one, and the settings dialog
// edits a copy and hands the saved one back. Controls are the values as the
// dialog shows them; Copies what the readers of saved values act on.
struct VorrinSettings {
    TVorrinControls Controls;
    TVorrinCopies Copies;

    bool operator==(const VorrinSettings &) const = default;
};

// Which controls take input, by the rules the dialog applies after every
// load and on every click; follows from the check states alone. Controls not
// named here are always enabled.
struct TVorrinEnabled {
    bool CheckBoxPause = true;
    bool CheckBoxTime = false;
    bool EditTime = false; // and its "minutes" label
    bool CheckBoxAPrint = false;
    bool CheckBoxASend = false;
    bool CheckBoxAOnlyErrors = false;
    bool CheckBoxASumRep = false;
    bool CheckBoxAPower = false;
    bool ReportOptions = false; // Append, Limit size, View and Location of the report
    bool EditRepSize = false;   // and its "Kb" label
    bool JournalOptions = false;
    bool EditRunSize = false;
    bool ArchiveVolumes = false; // CheckBoxSFX, ComboBoxVol and its label
    bool PathRadios = false;     // RadioButtonRPath and RadioButtonFPath
    bool CheckBoxWithDrive = false;
    bool Authorization = false; // user name and password with their labels
    bool TimeList = false;      // ListBoxTimes and its Add, Edit, Delete buttons
    bool CheckBoxNotWeek = false;
    bool CheckBoxOnce = false;
    bool PanelWeekDaysVisible = false;
    bool PanelMonthDaysVisible = false;

    bool operator==(const TVorrinEnabled &) const = default;
};

TVorrinEnabled EnabledControls(const TVorrinControls &controls);

} // namespace zentavo
