#include "ReportText.h"

#include <QFile>
#include "SafeSave.h"

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
    QByteArray content;
    for (const QString &line : lines)
        content += line.toUtf8() + "\r\n";
    return platform::saveFile(path, content);
}

} // namespace report
