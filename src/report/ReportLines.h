#pragma once

#include "platform/Clock.h"

#include <QDateTime>
#include <QString>

// Building blocks of the run report's lines.
namespace report {

// The line that closes a section of the report: exactly 50 "-".
inline const QString Separator(50, u'-');

// Date and time at the start of a timed line, in the user's short date form.
QString stamp(const QDateTime &when = platform::now());

// stamp + two blanks + text.
QString timed(const QString &text, const QDateTime &when = platform::now());

} // namespace report
