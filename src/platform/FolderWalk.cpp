#include "FolderWalk.h"

#include "platform/FileNames.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <ranges>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

#ifdef Q_OS_UNIX
// In the zone's rules read once by the caller: a time in Qt's local time
// would ask the C library, which checks the zone file each time.
QDateTime modifiedOf(const struct stat &info, const QTimeZone &zone)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000, zone);
}

// Why an lstat result is no entry of a listing; nothing when it is one. A
// link is judged by what it points to, and only a link to a file is kept.
// The name is looked up in the folder open as folderFd (AT_FDCWD: name is
// a whole path), so the kernel does not walk the folder's path again.
std::optional<LeftOut::Reason> leftOutReason(int folderFd, const char *name, struct stat &info)
{
    if (S_ISLNK(info.st_mode)) {
        if (::fstatat(folderFd, name, &info, 0) != 0) {
            switch (errno) {
            case ENOENT: return LeftOut::Reason::DanglingLink;
            case ELOOP: return LeftOut::Reason::LinkLoop;
            default: return LeftOut::Reason::Unreadable;
            }
        }
        if (S_ISDIR(info.st_mode))
            return LeftOut::Reason::LinkToFolder;
    }
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        return LeftOut::Reason::Special;
    return std::nullopt;
}

FolderEntry entryOf(const QByteArray &path, const struct stat &info, const QTimeZone &zone)
{
    FolderEntry entry;
    entry.path = fileNameFromBytes(path);
    entry.name = fileNamePart(entry.path);
    entry.folder = S_ISDIR(info.st_mode);
    entry.size = entry.folder ? 0 : qint64(info.st_size);
    entry.modified = modifiedOf(info, zone);
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

FolderListing readFolder(const QString &folder)
{
    FolderListing listing;
    QList<FolderEntry> &entries = listing.entries;
    const QString prefix = withTrailingSeparator(folder);
#ifdef Q_OS_UNIX
    const QByteArray prefixBytes = fileNameBytes(prefix);
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(prefixBytes.constData()));
    if (!dir) {
        // A folder that is gone (or never was) holds nothing to miss.
        listing.readable = errno == ENOENT || errno == ENOTDIR;
        return listing;
    }
    const QTimeZone zone = QTimeZone::systemTimeZone();
    for (;;) {
        errno = 0;
        const dirent *item = ::readdir(dir.get());
        if (!item) {
            listing.readable = errno == 0;
            break;
        }
        const QByteArray name(item->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray path = prefixBytes + name;
        struct stat info {};
        if (::fstatat(::dirfd(dir.get()), item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                continue; // removed while the folder was read
            if (errno == EACCES) {
                // Names without the right to look at them: the folder as
                // a whole is what cannot be read, not each of its entries.
                listing.readable = false;
                listing.leftOut.clear();
                entries.clear();
                return listing;
            }
            listing.leftOut << LeftOut{fileNameFromBytes(name), fileNameFromBytes(path), LeftOut::Reason::Unreadable};
            continue;
        }
        if (const std::optional<LeftOut::Reason> reason = leftOutReason(::dirfd(dir.get()), item->d_name, info))
            listing.leftOut << LeftOut{fileNameFromBytes(name), fileNameFromBytes(path), *reason};
        else
            entries << entryOf(path, info, zone);
    }
#else
    const QDir dir(prefix);
    listing.readable = !dir.exists() || dir.isReadable();
    const QFileInfoList infos
        = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : infos) {
        if (std::optional<FolderEntry> entry = entryOf(info))
            entries << *entry;
        else
            listing.leftOut << LeftOut{
                info.fileName(), info.filePath(),
                info.isSymLink() || info.isJunction()
                    ? (info.exists() ? LeftOut::Reason::LinkToFolder : LeftOut::Reason::DanglingLink)
                    : LeftOut::Reason::Special};
    }
#endif
    std::ranges::sort(entries, [](const FolderEntry &a, const FolderEntry &b) { return a.name < b.name; });
    std::ranges::sort(listing.leftOut, [](const LeftOut &a, const LeftOut &b) { return a.name < b.name; });
    return listing;
}

LeftOut unreadableFolder(const QString &folder)
{
    const QString path = withTrailingSeparator(folder);
    return {fileNamePart(path.chopped(1)), path, LeftOut::Reason::Unreadable};
}

QString leftOutText(const LeftOut &leftOut)
{
    const QString shown = u'"' + readableFileName(leftOut.path) + u'"';
    switch (leftOut.reason) {
    case LeftOut::Reason::Unreadable:
        return endsWithSeparator(leftOut.path)
            ? QStringLiteral("Cannot read the folder %1: its content is left out").arg(shown)
            : QStringLiteral("Cannot read %1: it is left out").arg(shown);
    case LeftOut::Reason::LinkToFolder:
        return QStringLiteral("%1 is a link to a folder: not followed, its content is left out").arg(shown);
    case LeftOut::Reason::DanglingLink: return QStringLiteral("%1 is a link that leads nowhere: left out").arg(shown);
    case LeftOut::Reason::LinkLoop:
        return QStringLiteral("%1 is a link that leads back to itself: left out").arg(shown);
    case LeftOut::Reason::Special: return QStringLiteral("%1 is a pipe, socket or device: left out").arg(shown);
    }
    return shown;
}

QList<FolderEntry> listFolder(const QString &folder)
{
    return readFolder(folder).entries;
}

std::optional<FolderEntry> entryAt(const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray bytes = fileNameBytes(path);
    struct stat info {};
    if (::lstat(bytes.constData(), &info) != 0 || leftOutReason(AT_FDCWD, bytes.constData(), info))
        return std::nullopt;
    return entryOf(bytes, info, QTimeZone::systemTimeZone());
#else
    return entryOf(QFileInfo(path));
#endif
}

bool isRealFolder(const QString &path)
{
    const std::optional<FolderEntry> entry
        = entryAt(endsWithSeparator(path) && path.size() > 1 ? path.chopped(1) : path);
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
