#include "ReportPrintHeader.h"

#include "platform/VersionBlock.h"
#include "shared/ConstStr.h"

namespace report {

QString ReportPrintHeader(const platform::VersionBlock &version, const QString &caption, const QString &jobFileName,
                          const QString &computerName)
{
    const QString lineBreak = QStringLiteral("\n\t");
    QString header = version.productName();
    if (const QString text = version.productVersion(); !text.isEmpty())
        header += u' ' + text;
    if (const QString text = version.fileDescription(); !text.isEmpty())
        header += lineBreak + text;
    if (const QString text = version.fileVersion(); !text.isEmpty())
        header += QStringLiteral(" (") + text + u')';
    if (const QString text = version.legalCopyright(); !text.isEmpty())
        header += lineBreak + text;
    header += u'\n' + lineBreak + caption + u' ' + jobFileName;
    header += lineBreak + zentavo::sComputerName + QStringLiteral(": ") + computerName;
    return header;
}

} // namespace report
