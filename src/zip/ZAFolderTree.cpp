#include "ZAFolderTree.h"

#include <QDir>
#include <QFileInfo>

bool DeleteFolderTree(const QString &folder)
{
    const QDir dir(folder);
    // Links to folders are names in this folder, not sub-trees to descend.
    const QFileInfoList children = dir.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::System
                                                     | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo &child : children) {
        if (!DeleteFolderTree(child.absoluteFilePath()))
            return false;
    }
    const QString path = QFileInfo(folder).absoluteFilePath();
    return QDir().rmdir(path) || !QFileInfo(path).isDir();
}
