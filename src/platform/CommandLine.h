#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

// Splits a command line the way a Windows program receives it, so that job
// files written for either system start the same programs with the same
// arguments: the first token is the program (a quoted path or the text up to
// the first blank); the rest follow the C runtime's rules (blanks separate,
// double quotes group, backslashes escape only a double quote, "" inside a
// quoted part is a literal quote). No shell is involved.
QStringList splitCommandLine(const QString &commandLine);

// The program path as the first token of a command line, quoted when it
// holds a blank; nothing for a path with a double quote, which no command
// line can name.
std::optional<QString> programToken(const QString &path);

} // namespace platform
