#include "RuntimeFolder.h"

#include <QDir>
#include <QFile>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

std::optional<QString> refused(QString *why, const QString &folder, const QString &reason)
{
    if (why)
        *why = QStringLiteral("The folder %1 cannot be used: %2").arg(QDir::toNativeSeparators(folder), reason);
    return std::nullopt;
}

} // namespace

#ifdef Q_OS_WIN
std::optional<QString> runtimeFolder(QString *why)
{
    const QString folder = QDir::tempPath() + QStringLiteral("/zentavo");
    if (!QDir().mkpath(folder))
        return refused(why, folder, QStringLiteral("it cannot be made"));
    return folder;
}
#else
std::optional<QString> runtimeFolder(QString *why)
{
    const QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = base.isEmpty() ? QDir::tempPath() + QStringLiteral("/zentavo-") + QString::number(geteuid())
                                          : base + QStringLiteral("/zentavo");
    const QByteArray path = QFile::encodeName(folder);
    const auto systemReason = [] { return QString::fromLocal8Bit(std::strerror(errno)); };
    if (mkdir(path.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return refused(why, folder, systemReason());
    struct stat info {};
    if (lstat(path.constData(), &info) != 0)
        return refused(why, folder, systemReason());
    if (!S_ISDIR(info.st_mode))
        return refused(why, folder, QStringLiteral("it is not a folder"));
    if (info.st_uid != geteuid())
        return refused(why, folder, QStringLiteral("it belongs to another user"));
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0 && chmod(path.constData(), S_IRWXU) != 0)
        return refused(why, folder, systemReason());
    return folder;
}
#endif

} // namespace platform
