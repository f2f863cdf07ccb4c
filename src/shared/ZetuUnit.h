#pragma once

#include "platform/ProgramStarter.h"

#include <QString>

#include <initializer_list>

namespace platform {
class VersionBlock;
}

namespace zentavo {

// "ProductName" of the running program's version block; empty without one.
QString GetProductName();

// The product name as the programs show it in captions and the fallback mail
// sender: at most 11 characters (the length of "The Zentavo").
QString GetProductTitle();

// "ProductName ProductVersion", a line break and "LegalCopyright" of the
// running program's version block, each piece only when present; empty
// without a version block.
QString GetVersionInfoStr();

// The pieces of a program's version block that an about text shows.
enum class AboutPiece { Product, Description, FileVersion, Copyright };

// The wanted pieces the block holds, one line each, joined by line breaks:
// "ProductName ProductVersion", "FileDescription", "File version "
// FileVersion, "LegalCopyright". Empty for a file without a version block.
QString AboutLines(const platform::VersionBlock &block, std::initializer_list<AboutPiece> pieces);

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
