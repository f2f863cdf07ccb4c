#include "ReportText.h"

#include "platform/SafeSave.h"
#include "shared/TextEncoding.h"

#include <QFile>

namespace report {

std::optional<QStringList> ReadReportText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;

    // Line by line: a report appended to by both builds holds both encodings.
    QList<QByteArray> rawLines = bytes.split('\n');
    if (rawLines.last().isEmpty())
        rawLines.removeLast(); // the end of the last line, or an empty file
    QStringList lines;
    lines.reserve(rawLines.size());
    for (QByteArray &line : rawLines) {
        if (line.endsWith('\r'))
            line.chop(1);
        lines << textencoding::decode(line).text;
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
