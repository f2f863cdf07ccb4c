#pragma once

#include <QString>

#include <optional>

class QLineEdit;

namespace pelvo {

// Lets the user pick a folder for a copy, starting at start (the user's
// home when empty); the folder without a final separator.
std::optional<QString> PickCopyFolder(const QString &start);

// A path or command that would break its line ("=") is refused with a
// message and the "=" taken out of the edit again. True when it had to.
bool RefuseLineBreaker(QLineEdit *edit);

} // namespace pelvo
