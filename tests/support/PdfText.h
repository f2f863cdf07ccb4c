#pragma once

#include <QProcess>
#include <QString>

namespace testfiles {

// The text of a PDF file as pdftotext reads it; pages end with a form feed.
// With layout, the text keeps the lines as printed, gaps included.
inline QString pdfText(const QString &pdf, bool layout = false)
{
    QProcess process;
    QStringList arguments{pdf, QStringLiteral("-")};
    if (layout)
        arguments.prepend(QStringLiteral("-layout"));
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(30000))
        return QStringLiteral("<pdftotext did not finish>");
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace testfiles
