#include "ZAFolderTree.h"

#include "FolderWalk.h"

bool DeleteFolderTree(const QString &folder)
{
    return platform::removeFoldersDeepestFirst(platform::folderTree(folder)).complete;
}
