#include "MaskedFiles.h"

#include "platform/Paths.h"
#include "platform/Wildcard.h"

QList<platform::FolderEntry> entriesMatching(const QString &pathOrMask, bool withFolders)
{
    const QString mask = platform::fileNamePart(pathOrMask);
    QList<platform::FolderEntry> matching;
    if (!platform::hasWildcards(mask)) {
        const std::optional<platform::FolderEntry> entry = platform::entryAt(pathOrMask);
        if (entry && (withFolders || !entry->folder))
            matching << *entry;
        return matching;
    }
    const QString folder = platform::folderPart(pathOrMask);
    for (const platform::FolderEntry &entry : platform::listFolder(folder.isEmpty() ? QStringLiteral(".") : folder)) {
        if ((withFolders || !entry.folder) && platform::matchesMask(entry.name, mask))
            matching << entry;
    }
    return matching;
}
