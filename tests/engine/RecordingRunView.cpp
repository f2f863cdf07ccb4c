#include "RecordingRunView.h"

#include <QRegularExpression>

QStringList RecordingRunView::untimedLines() const
{
    static const QRegularExpression stamp(QStringLiteral(R"(^.*?\d\d:\d\d:\d\d  )"));
    QStringList result;
    for (const QString &line : lines)
        result << QString(line).remove(stamp);
    return result;
}
