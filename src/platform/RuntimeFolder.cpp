#include "RuntimeFolder.h"

#include <QDir>
#include <QFile>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

#ifdef Q_OS_WIN
std::optional<QString> runtimeFolder()
{
    const QString folder = QDir::tempPath() + QStringLiteral("/zentavo");
    return QDir().mkpath(folder) ? std::optional<QString>(folder) : std::nullopt;
}
#else
std::optional<QString> runtimeFolder()
{
    const QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = base.isEmpty()
        ? QDir::tempPath() + QStringLiteral("/zentavo-") + QString::number(geteuid())
        : base + QStringLiteral("/zentavo");
    const QByteArray path = QFile::encodeName(folder);
    if (mkdir(path.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return std::nullopt;
    struct stat info {};
    if (lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())
        return std::nullopt;
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0 && chmod(path.constData(), S_IRWXU) != 0)
        return std::nullopt;
    return folder;
}
#endif

} // namespace platform
