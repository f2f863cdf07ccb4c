#pragma once

#include "ProgramStarter.h"

#include <QString>

namespace zentavo {

// "ProductName" of the running program's version block; empty without one.
QString GetProductName();

// "ProductName ProductVersion", a line break and "LegalCopyright" of the
// running program's version block, each piece only when present; empty
// without a version block.
QString GetVersionInfoStr();

// base to the power exponent in 32-bit signed arithmetic; an overflow wraps
// (a negative exponent gives 1, like 0; no caller passes one).
qint32 IntPow(qint32 base, qint32 exponent);

// Starts a command line; True when the program was started. With wait, the
// call returns when the program has ended or one of the stop flags was set.
bool RunProgram(const QString &commandLine, bool wait, platform::StopFlags stopFlags = {});

// Shows the folder picker, starting at folder and kept below root when root
// is not empty; True and folder := the choice when a folder was chosen.
bool SelectFolder(const QString &caption, const QString &root, QString &folder);

// Powers the computer off; True when the system accepted the request.
bool PowerOffComputer();

} // namespace zentavo
