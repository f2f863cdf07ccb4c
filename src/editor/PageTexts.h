#pragma once

#include <QString>

#include <array>

// How the job pages show and change the days, paths and commands of a job.
namespace pelvo {

// Days "135" as "Mo,We,Fr"; empty days (every day) as everyDay. A character
// other than "0" to "6" (a hand-made file) shows as it is.
QString DaysText(const QString &days, const QString &everyDay);

// The days digits, ascending, of the checked week days (index 0 Sunday).
QString DaysOf(const std::array<bool, 7> &checked);

// The path with the even/uneven-days mark "?": before a final separator,
// else at the end; unchanged when it has one.
QString WithEvenMark(const QString &path);
// The path without its first "?".
QString WithoutEvenMark(const QString &path);

// Where a picker for a field starts: the nearest existing folder of the
// field's path (the path itself when it is a folder), else the user's home.
QString PickerStart(const QString &path);

// A path or command stored before "=" in its line cannot hold "=": the
// line would read back with other days or another flag.
bool BreaksItsLine(const QString &text);

enum class CommandKind { External, Copy, Delete, Rename };

// The kind by the command's first five characters in any case ("CCPY ",
// "CDEL ", "CREN ").
CommandKind KindOfCommand(const QString &command);

// The command stored for an internal kind: CCPY "from" TO "to",
// CDEL "from", CREN "from" TO "to"; " TO" is left out when to is empty.
QString InternalCommand(CommandKind kind, const QString &from, const QString &to);

// The paths of an internal command or of its shown text: from between the
// first two double quotes, to between the third and the fourth.
struct CommandPaths {
    QString from;
    QString to;
};
CommandPaths PathsOfCommand(const QString &text);

// The captions an internal command is shown with.
struct CommandCaptions {
    QString copy;   // "Copy"
    QString remove; // "Delete"
    QString rename; // "Rename/Move", shown up to its "/"
    QString to;     // "to"
};

// An internal command as the page shows it ("Copy "/a" to "/b""), with the
// paths as written; any other command, and one without its double
// quotes, unchanged.
QString CommandDisplayText(const QString &command, const CommandCaptions &captions);

} // namespace pelvo
