#include "FileWriteLock.h"

#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <thread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

constexpr std::chrono::milliseconds PollInterval(20);

enum class Attempt { Held, Busy, Failed };

#ifdef Q_OS_WIN
// One try for the lock at path; held gets its handle when it is had, error
// the system's reason when it fails.
Attempt tryLock(const QString &path, FileHandle &held, QString &error)
{
    // Opened without sharing: a second writer cannot open it at all.
    FileHandle file(CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ | GENERIC_WRITE | DELETE,
                                0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!file.isOpen()) {
        const DWORD code = GetLastError();
        if (code == ERROR_SHARING_VIOLATION)
            return Attempt::Busy;
        error = QStringLiteral("System error %1").arg(code);
        return Attempt::Failed;
    }
    held = std::move(file);
    return Attempt::Held;
}
#else
bool sameFile(int fd, const QByteArray &path)
{
    struct stat opened {
    }, named{};
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
}

bool isLink(const QByteArray &path)
{
    struct stat named {};
    return ::lstat(path.constData(), &named) == 0 && S_ISLNK(named.st_mode);
}

// Locks file without waiting: Held, Busy, or Failed with errno set.
Attempt lockNow(const FileHandle &file)
{
    int result;
    do
        result = ::flock(file.native(), LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result == 0)
        return Attempt::Held;
    return errno == EWOULDBLOCK ? Attempt::Busy : Attempt::Failed;
}

// The lock file at name, made when it is missing. One this user may not
// write is opened for reading: a flock needs no more, and another user's
// run may hold it. errno tells why neither opened.
FileHandle openLockFile(const QByteArray &name)
{
    FileHandle file(::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (file.isOpen() || errno != EACCES)
        return file;
    file = FileHandle(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!file.isOpen() && errno == ENOENT)
        errno = EACCES; // no file, and none can be made: the folder refused it
    return file;
}

// A link at the lock's name (never followed) gives way to a new lock file,
// locked before it is put there. The two change places in one step, so
// that a lock file another writer made there in the meantime is never
// removed: it is swapped back, and the lock is busy. errno tells why a
// Failed attempt failed.
Attempt replaceLink(const QByteArray &name, FileHandle &held)
{
    const QByteArray fresh = name + ".new-" + QByteArray::number(::getpid());
    ::unlink(fresh.constData());
    FileHandle file(::open(fresh.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!file.isOpen())
        return Attempt::Failed;
    if (lockNow(file) != Attempt::Held
        || ::renameat2(AT_FDCWD, fresh.constData(), AT_FDCWD, name.constData(), RENAME_EXCHANGE) != 0) {
        const int error = errno;
        ::unlink(fresh.constData());
        errno = error;
        return Attempt::Failed;
    }
    if (isLink(fresh)) {
        ::unlink(fresh.constData());
        held = std::move(file);
        return Attempt::Held;
    }
    ::renameat2(AT_FDCWD, fresh.constData(), AT_FDCWD, name.constData(), RENAME_EXCHANGE);
    ::unlink(fresh.constData());
    return Attempt::Busy;
}

// One try for the lock at path; held gets its handle when it is had, error
// the system's reason when it fails.
Attempt tryLock(const QString &path, FileHandle &held, QString &error)
{
    const QByteArray name = fileNameBytes(path);
    for (;;) {
        FileHandle file = openLockFile(name);
        Attempt attempt = Attempt::Failed;
        if (file.isOpen())
            attempt = lockNow(file);
        else if (errno == ELOOP && isLink(name))
            attempt = replaceLink(name, file);
        if (attempt == Attempt::Failed)
            error = QString::fromLocal8Bit(std::strerror(errno));
        if (attempt != Attempt::Held)
            return attempt;
        // Locked, but its writer removed it meanwhile: the lock is the one
        // of the file there now.
        if (sameFile(file.native(), name)) {
            held = std::move(file);
            return Attempt::Held;
        }
    }
}
#endif

} // namespace

QString FileWriteLock::lockFileName(const QString &target)
{
    // Beside the file itself: writers that name it through a link and by
    // its own name take one lock.
    const QFileInfo info(whereLinksLead(target));
    return info.absoluteDir().filePath(u'.' + info.fileName() + QStringLiteral(".lock"));
}

FileWriteLock::FileWriteLock(const QString &target, std::chrono::milliseconds wait) : m_path(lockFileName(target))
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        switch (tryLock(m_path, m_file, m_failure)) {
        case Attempt::Held: m_state = State::Held; return;
        case Attempt::Failed: return;
        case Attempt::Busy: break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            m_state = State::InUse;
            return;
        }
        std::this_thread::sleep_for(PollInterval);
    }
}

// Removed while still locked: a writer waiting on it then finds it gone
// and makes a new one. Windows removes it with the last handle.
FileWriteLock::~FileWriteLock()
{
#ifndef Q_OS_WIN
    const QByteArray name = fileNameBytes(m_path);
    if (m_file.isOpen() && sameFile(m_file.native(), name))
        ::unlink(name.constData());
#endif
}

} // namespace platform
