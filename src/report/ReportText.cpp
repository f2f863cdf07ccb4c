#include "ReportText.h"

#include <QFile>
#include <QSaveFile>

namespace report {

std::optional<QStringList> ReadReportText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;

    QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast(); // the end of the last line, or an empty file
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

bool WriteReportText(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QString &line : lines)
        file.write(line.toUtf8() + "\r\n");
    return file.commit();
}

} // namespace report
