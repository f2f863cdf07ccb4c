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
// One try for the lock at path; held gets its handle when it is had.
Attempt tryLock(const QString &path, FileHandle &held)
{
    // Opened without sharing: a second writer cannot open it at all.
    FileHandle file(CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ | GENERIC_WRITE | DELETE,
                                0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!file.isOpen())
        return GetLastError() == ERROR_SHARING_VIOLATION ? Attempt::Busy : Attempt::Failed;
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

// One try for the lock at path; held gets its handle when it is had.
Attempt tryLock(const QString &path, FileHandle &held)
{
    const QByteArray name = fileNameBytes(path);
    for (;;) {
        FileHandle file(::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!file.isOpen())
            return Attempt::Failed;
        int result;
        do
            result = ::flock(file.native(), LOCK_EX | LOCK_NB);
        while (result != 0 && errno == EINTR);
        if (result != 0)
            return errno == EWOULDBLOCK ? Attempt::Busy : Attempt::Failed;
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
    const QFileInfo info(target);
    return info.absoluteDir().filePath(u'.' + info.fileName() + QStringLiteral(".lock"));
}

FileWriteLock::FileWriteLock(const QString &target, std::chrono::milliseconds wait) : m_path(lockFileName(target))
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        switch (tryLock(m_path, m_file)) {
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
