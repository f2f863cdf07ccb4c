#include "MaskedFiles.h"

#include "Paths.h"
#include "Wildcard.h"

QFileInfoList entriesMatching(const QString &pathOrMask, QDir::Filters filters)
{
    const QString mask = platform::fileNamePart(pathOrMask);
    if (!platform::hasWildcards(mask)) {
        const QFileInfo entry(pathOrMask);
        const bool wanted = entry.exists() && (entry.isDir() ? filters.testFlag(QDir::Dirs) : filters.testFlag(QDir::Files));
        return wanted ? QFileInfoList{entry} : QFileInfoList{};
    }
    const QString folder = platform::folderPart(pathOrMask);
    QFileInfoList matching;
    const QFileInfoList entries = QDir(folder.isEmpty() ? QStringLiteral(".") : folder).entryInfoList(filters | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (platform::matchesMask(entry.fileName(), mask))
            matching << entry;
    }
    return matching;
}
