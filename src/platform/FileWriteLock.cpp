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

} // namespace

QString FileWriteLock::lockFileName(const QString &target)
{
    const QFileInfo info(target);
    return info.absoluteDir().filePath(u'.' + info.fileName() + QStringLiteral(".lock"));
}

#ifdef Q_OS_WIN
FileWriteLock::FileWriteLock(const QString &target, std::chrono::milliseconds wait) : m_path(lockFileName(target))
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        // Opened without sharing: a second writer cannot open it at all.
        HANDLE handle
            = CreateFileW(reinterpret_cast<const wchar_t *>(m_path.utf16()), GENERIC_READ | GENERIC_WRITE | DELETE, 0,
                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            m_handle = handle;
            m_state = State::Held;
            return;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION)
            return;
        if (std::chrono::steady_clock::now() >= deadline) {
            m_state = State::InUse;
            return;
        }
        std::this_thread::sleep_for(PollInterval);
    }
}

FileWriteLock::~FileWriteLock()
{
    if (m_handle)
        CloseHandle(m_handle);
}
#else
namespace {

bool sameFile(int fd, const QByteArray &path)
{
    struct stat opened {
    }, named{};
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
}

} // namespace

FileWriteLock::FileWriteLock(const QString &target, std::chrono::milliseconds wait) : m_path(lockFileName(target))
{
    const QByteArray name = fileNameBytes(m_path);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return;
        int result;
        do
            result = ::flock(fd, LOCK_EX | LOCK_NB);
        while (result != 0 && errno == EINTR);
        const int error = errno;
        if (result == 0 && sameFile(fd, name)) {
            m_fd = fd;
            m_state = State::Held;
            return;
        }
        ::close(fd);
        // Locked, but its writer removed it meanwhile: the lock is the one
        // of the file there now.
        if (result == 0)
            continue;
        if (error != EWOULDBLOCK)
            return;
        if (std::chrono::steady_clock::now() >= deadline) {
            m_state = State::InUse;
            return;
        }
        std::this_thread::sleep_for(PollInterval);
    }
}

// Removed while still locked: a writer waiting on it then finds it gone
// and makes a new one.
FileWriteLock::~FileWriteLock()
{
    if (m_fd < 0)
        return;
    const QByteArray name = fileNameBytes(m_path);
    if (sameFile(m_fd, name))
        ::unlink(name.constData());
    ::close(m_fd);
}
#endif

} // namespace platform
