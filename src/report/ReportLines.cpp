#include "ReportLines.h"

#include <QLocale>

namespace report {

QString stamp(const QDateTime &when)
{
    // The locale's long time form may carry a time zone name; seconds are enough.
    return QLocale::system().toString(when.date(), QLocale::ShortFormat) + u' '
        + when.time().toString(QStringLiteral("HH:mm:ss"));
}

QString timed(const QString &text, const QDateTime &when)
{
    return stamp(when) + QStringLiteral("  ") + text;
}

} // namespace report
