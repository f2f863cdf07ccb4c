#include "DriveInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace platform {

qint64 FreeSpace(const QString &path)
{
    QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            return 0;
        info = QFileInfo(parent);
    }
    const QStorageInfo storage(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
    return storage.isValid() ? storage.bytesAvailable() : 0;
}

bool IsFloppyDrive([[maybe_unused]] const QString &path)
{
#ifdef Q_OS_WIN
    const QString drive = path.left(2).toUpper();
    return drive == u"A:" || drive == u"B:";
#else
    return false;
#endif
}

bool IsRemovableDrive(const QString &path)
{
    // Qt does not tell removable media apart; only the floppy letters count.
    return IsFloppyDrive(path);
}

} // namespace platform
