#include "FolderWalk.h"

#include "FileNames.h"
#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <ranges>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

#ifdef Q_OS_UNIX
QDateTime modifiedOf(const struct stat &info)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000);
}

// The entry for an lstat result; a link is judged by what it points to,
// and only a link to a file is kept.
std::optional<FolderEntry> entryOf(const QByteArray &path, struct stat info)
{
    if (S_ISLNK(info.st_mode) && (::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode)))
        return std::nullopt;
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        return std::nullopt;
    FolderEntry entry;
    entry.path = fileNameFromBytes(path);
    entry.name = fileNamePart(entry.path);
    entry.folder = S_ISDIR(info.st_mode);
    entry.size = entry.folder ? 0 : qint64(info.st_size);
    entry.modified = modifiedOf(info);
    entry.ownerWritable = (info.st_mode & S_IWUSR) != 0;
    return entry;
}

// Closes a listing however it ends.
struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};
#else
std::optional<FolderEntry> entryOf(const QFileInfo &info)
{
    if (info.isDir() ? info.isSymLink() || info.isJunction() : !info.isFile())
        return std::nullopt;
    FolderEntry entry;
    entry.path = info.filePath();
    entry.name = info.fileName();
    entry.folder = info.isDir();
    entry.size = entry.folder ? 0 : info.size();
    entry.modified = info.lastModified();
    entry.ownerWritable = (info.permissions() & QFile::WriteOwner) != 0;
    return entry;
}
#endif

bool removeEmptyFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    return ::rmdir(fileNameBytes(folder).constData()) == 0;
#else
    return QDir().rmdir(folder);
#endif
}

} // namespace

QList<FolderEntry> listFolder(const QString &folder)
{
    QList<FolderEntry> entries;
    const QString prefix = withTrailingSeparator(folder);
#ifdef Q_OS_UNIX
    const QByteArray prefixBytes = fileNameBytes(prefix);
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(prefixBytes.constData()));
    if (!dir)
        return entries;
    while (const dirent *item = ::readdir(dir.get())) {
        const QByteArray name(item->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray path = prefixBytes + name;
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0)
            continue;
        if (std::optional<FolderEntry> entry = entryOf(path, info))
            entries << *entry;
    }
#else
    const QFileInfoList infos = QDir(prefix).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                           | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : infos) {
        if (std::optional<FolderEntry> entry = entryOf(info))
            entries << *entry;
    }
#endif
    std::ranges::sort(entries, [](const FolderEntry &a, const FolderEntry &b) { return a.name < b.name; });
    return entries;
}

std::optional<FolderEntry> entryAt(const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray bytes = fileNameBytes(path);
    struct stat info {};
    if (::lstat(bytes.constData(), &info) != 0)
        return std::nullopt;
    return entryOf(bytes, info);
#else
    return entryOf(QFileInfo(path));
#endif
}

bool isRealFolder(const QString &path)
{
    const std::optional<FolderEntry> entry = entryAt(endsWithSeparator(path) && path.size() > 1 ? path.chopped(1) : path);
    return entry && entry->folder;
}

QStringList folderTree(const QString &folder)
{
    QStringList tree{withTrailingSeparator(folder)};
    for (qsizetype i = 0; i < tree.size(); ++i) {
        const QString parent = tree.at(i);
        for (const FolderEntry &entry : listFolder(parent)) {
            if (entry.folder)
                tree << withTrailingSeparator(entry.path);
        }
    }
    return tree;
}

FolderRemoval removeFoldersDeepestFirst(const QStringList &parentsFirst,
                                        const std::function<bool(const QString &)> &wanted,
                                        const std::atomic<bool> *stop)
{
    FolderRemoval removal;
    for (auto at = parentsFirst.crbegin(); at != parentsFirst.crend(); ++at) {
        const QString &folder = *at;
        if (stop && *stop)
            break;
        if (wanted && !wanted(folder))
            continue;
        if (removeEmptyFolder(folder))
            ++removal.removed;
        else if (isRealFolder(folder))
            removal.complete = false;
    }
    return removal;
}

bool makeFolder(const QString &path)
{
    std::error_code error;
    std::filesystem::create_directories(nativePath(path), error);
    return !error && isRealFolder(path);
}

} // namespace platform
