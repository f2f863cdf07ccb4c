#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

namespace {

bool isFolderMark(QChar c)
{
#ifdef Q_OS_WIN
    return c == u'\\' || c == u':' || c == u'/';
#else
    return c == u'/';
#endif
}

} // namespace

QChar separator()
{
#ifdef Q_OS_WIN
    return u'\\';
#else
    return u'/';
#endif
}

bool endsWithSeparator(const QString &path)
{
    return !path.isEmpty() && path.back() == separator();
}

QString withTrailingSeparator(const QString &path)
{
    return endsWithSeparator(path) ? path : path + separator();
}

bool hasFolderPart(const QString &name)
{
    return std::any_of(name.cbegin(), name.cend(), isFolderMark);
}

QString folderPart(const QString &path)
{
    for (qsizetype i = path.size(); i > 0; --i) {
        if (isFolderMark(path.at(i - 1)))
            return path.left(i);
    }
    return {};
}

QString fileNamePart(const QString &path)
{
    return path.mid(folderPart(path).size());
}

QString changeFileExt(const QString &path, const QString &extension)
{
    const qsizetype nameStart = folderPart(path).size();
    const qsizetype dot = path.lastIndexOf(u'.');
    return (dot >= nameStart ? path.left(dot) : path) + extension;
}

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString programFile(const QString &name)
{
    return QDir(programFolder()).filePath(name);
}

QString siblingProgram(const QString &name)
{
#ifdef Q_OS_WIN
    return programFile(name + QStringLiteral(".exe"));
#else
    return programFile(name);
#endif
}

QString defaultWriteFolder()
{
    const QString folder = programFolder();
    if (QFileInfo(folder).isWritable())
        return withTrailingSeparator(QDir::toNativeSeparators(folder));
    return userDataFolder();
}

QString userDataFolder()
{
    const QString data
        = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Zentavo");
    QDir().mkpath(data);
    return withTrailingSeparator(QDir::toNativeSeparators(data));
}

QString fileInFolder(const QString &folder, const QString &name)
{
    return folder.isEmpty() ? name : withTrailingSeparator(folder) + name;
}

QString temporaryFolder(const QString &setting)
{
    return setting.isEmpty() ? QDir::toNativeSeparators(QDir::tempPath()) : setting;
}

} // namespace platform
