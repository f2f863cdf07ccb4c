#include "DriveInfo.h"

#include "platform/InstalledService.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#endif

namespace platform {

namespace {

class SystemDriveTypes final : public DriveTypes {
public:
    // Qt does not tell removable media apart; only the floppy letters count.
    bool isRemovable(const QString &path) const override { return IsFloppyDrive(path); }
};

using Installed = InstalledService<DriveTypes, SystemDriveTypes>;

} // namespace

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
    return Installed::current().isRemovable(path);
}

QString DiskFullReason()
{
#ifdef Q_OS_WIN
    return qt_error_string(ERROR_DISK_FULL);
#else
    return qt_error_string(ENOSPC);
#endif
}

void setDriveTypes(std::unique_ptr<DriveTypes> types)
{
    Installed::install(std::move(types));
}

} // namespace platform
