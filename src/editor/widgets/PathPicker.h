#pragma once

#include <QString>

#include <optional>

class QLineEdit;

namespace pelvo {

// Lets the user pick a folder for a copy, starting at start (the user's
// home when empty); the folder without a final separator.
std::optional<QString> PickCopyFolder(const QString &start);

// A path or command with "=" cannot be saved (the job file would read the
// rest as its days or flag), yet it stays as the user typed it: the user is
// told once the edit is left, never while typing, where a message would
// take the keys typed next.
void TellLineBreakerOnLeave(QLineEdit *edit);

} // namespace pelvo
