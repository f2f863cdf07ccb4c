#pragma once

#include "settings/VorrinControls.h"

#include <QString>

#include <optional>

namespace platform {
class VersionBlock;
}

namespace zentavo {

// The three keys of the settings below the current user's root.
QString MainKeyPath();     // "\Software\Omberly Soft\The Zentavo\"
QString ScheduleKeyPath(); // its subkey "Vorrin\"
QString MailKeyPath();     // its subkey "EMail\"

// The version strings of the main program that the load shows and migrates
// by; a string the block lacks is absent.
struct VersionStrings {
    bool found = false; // the main program's version block was read
    std::optional<QString> ProductName;
    std::optional<QString> ProductVersion;
    std::optional<QString> FileVersion;
    std::optional<QString> LegalCopyright;

    static VersionStrings of(const platform::VersionBlock &block);
};

// The about text: product name and version, the file version, the copyright.
QString AboutText(const VersionStrings &version);

// The release number of the main program file: the third field of its file
// version when its product version starts with the first two; -1 otherwise.
int FileRelease(const VersionStrings &version);

// What the load needs from outside the store.
struct VorrinLoadContext {
    // The default report and journal folder, ending in a separator: the
    // program's folder, or the user's data folder when the program's folder
    // cannot be written.
    QString defaultFolder;
    // The temporary folder an empty "TempDir" stands for.
    QString temporaryFolder;
    VersionStrings mainProgram;
    // The hosting program's product title; the fallback mail sender is made
    // from it.
    QString productTitle;

    // The context of the running program.
    static VorrinLoadContext current();
};

// Loads every value of the three keys into the controls and the copies. A
// value that cannot be read (of the wrong type, or in a key that cannot be
// opened) takes its default, or keeps the control's state where it has
// none, and the reading goes on. Also
// migrates the stored volume index of old releases once.
void LoadVorrinSettings(TVorrinControls &controls, TVorrinCopies &copies, const VorrinLoadContext &context);

// Reads every setting afresh. The controls start from their designed state,
// so a value that cannot be read never brings back an unsaved edit; a copy
// whose value cannot be read keeps what previous held.
VorrinSettings LoadVorrinSettings(const VorrinLoadContext &context, const VorrinSettings &previous = {});

// What the save refuses, one fault at a time in this order.
enum class VorrinFault {
    None,
    TimeNotNumber,        // EditTime, Options page
    ReportSizeNotNumber,  // EditRepSize, Report page
    JournalSizeNotNumber, // EditRunSize, Report page
    NoWeekDay,            // weekly schedule without a day
    NoMonthDay,           // monthly schedule without a day
    VolumeNotNumber,      // a typed volume size, Archive page
    PortNotNumber,        // EditPort, Mail page
};

// Checks the input before a save: the time limit and the two size limits
// must be whole numbers of 0 or more, a typed volume size a number of
// kilobytes, a port a port number; the programs would read anything else as
// "no limit", "no volumes" or a mail that cannot be sent. A limit that is no
// number while its edit is disabled is cleared instead of refused, so a bad
// value nobody can edit never blocks a save.
VorrinFault ValidateVorrinSettings(TVorrinControls &controls);

// Writes every value of the three keys and sets the copies; False when the
// store could not be written, with the reason in error. Validate first.
bool SaveVorrinSettings(const TVorrinControls &controls, TVorrinCopies &copies, QString *error = nullptr);

// Writes settings.Controls and, when the store took them, sets
// settings.Copies from them; a failed save leaves settings as they were.
// Validate first.
bool SaveVorrinSettings(VorrinSettings &settings, QString *error = nullptr);

// What to tell the user once when the settings file is damaged (its name
// and first bad line; the load then gave every value its default, and saves
// fail rather than write over the file) or holds values of the wrong type
// (their names; they were read as their defaults); nothing when it is sound.
std::optional<QString> SettingsDamageNotice();

// The default job file ("DefaultDat" of the main key); empty when the key or
// the value is missing or cannot be read.
QString ReadDefaultDat();

// Writes the default job file into the main key, created when a fresh
// installation has none yet: False when the store could not be written.
bool WriteDefaultDat(const QString &path);

} // namespace zentavo
