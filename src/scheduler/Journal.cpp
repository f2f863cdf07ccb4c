#include "Journal.h"

#include "platform/Paths.h"
#include "report/ReportFile.h"
#include "report/ReportLines.h"

#include <QFile>

namespace zentavo {

QString JournalPath(const TVorrinCopies &copies)
{
    return platform::fileInFolder(copies.ButtonRunDirHint, JournalFileName);
}

QString JournalLine(const QString &text, const QDateTime &when)
{
    return text + u'\t' + report::stamp(when);
}

void WriteJournal(const TVorrinCopies &copies, const QString &line, bool newRun)
{
    if (copies.CheckBoxRunTag == 0)
        return;
    const QString path = JournalPath(copies);
    const QIODevice::OpenMode rewrite = QIODevice::WriteOnly | QIODevice::Truncate;
    const QIODevice::OpenMode append = QIODevice::WriteOnly | QIODevice::Append;
    QFile file(path);
    const bool opened = file.open(copies.CheckBoxRunAddTag != 0 || !newRun ? append : rewrite) || file.open(rewrite);
    if (!opened)
        return;
    file.write(line.toUtf8() + "\r\n");
    file.close();
    CheckRepSize(path, copies.EditRunSizeTag);
}

} // namespace zentavo
