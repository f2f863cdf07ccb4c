#pragma once

#include <QString>

namespace platform {
class VersionBlock;
}

namespace report {

// The bold header above a printed report: the program's name, version,
// description and copyright (each piece only when the version block has
// it), then after an empty line the report's caption with the job file in
// use and the computer's name. Lines are separated by a line feed; every
// line but the first begins with a tab, which the printer turns into the
// left indent.
QString ReportPrintHeader(const platform::VersionBlock &version, const QString &caption, const QString &jobFileName,
                          const QString &computerName);

} // namespace report
