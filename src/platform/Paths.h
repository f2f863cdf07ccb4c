#pragma once

#include <QString>

// Path conventions of the suite. Job files and settings speak of folders
// that end in a separator and of names "with a folder part"; these helpers
// answer such questions with the native rules, so that no other code tests
// for "\" or ":" itself.
namespace platform {

// The native folder separator ("/" here, "\" on Windows).
QChar separator();

bool endsWithSeparator(const QString &path);

// The path with one separator at its end (unchanged when it has one).
QString withTrailingSeparator(const QString &path);

// True when the name names a folder too ("C:x" or "a\b" on Windows, "a/b" here).
bool hasFolderPart(const QString &name);

// The folder part of a path, up to and including its last separator
// (and, on Windows, a drive colon); empty when it has none.
QString folderPart(const QString &path);

// The file name after the folder part.
QString fileNamePart(const QString &path);

// The path with its extension (from the last "." of the file name on)
// replaced by extension, which starts with "."; appended when it has none.
QString changeFileExt(const QString &path, const QString &extension);

// The folder the running program lies in, where the suite's programs and
// the files they come with (language file, help file) are found.
QString programFolder();

// The file name in the program's folder.
QString programFile(const QString &name);

// The program of the suite named name ("Pelvaro") in the running program's
// folder, with the system's executable suffix.
QString siblingProgram(const QString &name);

// Where the programs write their files by default (report, journal),
// ending in a separator: the program's folder when it can be written,
// otherwise the suite's data folder of the user.
QString defaultWriteFolder();

// The user's data folder of the suite ("Zentavo" in the user's data
// folder), ending in a separator and made when missing. It is one for all
// three programs, so that the scheduler shows the report the main program
// wrote into it.
QString userDataFolder();

// A file of the suite in a folder the settings name (the report, its backup,
// the journal), whether or not the folder ends in a separator; the bare
// name for an empty folder.
QString fileInFolder(const QString &folder, const QString &name);

// The folder temporary files go to: the one the setting names, or the
// system's temporary folder when the setting is empty.
QString temporaryFolder(const QString &setting = QString());

// The longest path the system opens; a longer one fails by name at once.
#ifdef Q_OS_WIN
inline constexpr qsizetype MaxPathLength = 260;
#else
inline constexpr qsizetype MaxPathLength = 4096;
#endif

} // namespace platform
