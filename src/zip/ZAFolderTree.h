#pragma once

#include <QString>

// Removes folder and its empty sub-folders, deepest first. Files are never
// deleted, so a folder that still holds one stays and the answer is false.
// True when the folder was removed or is no longer a folder.
bool DeleteFolderTree(const QString &folder);
