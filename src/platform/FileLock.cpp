#include "FileLock.h"

#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#endif

namespace platform {

#ifdef Q_OS_WIN
FileLock::FileLock(const QString &fileName, Wait wait, Kind kind)
    : m_file(CreateFileW(reinterpret_cast<const wchar_t *>(fileName.utf16()), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
{
    if (!m_file.isOpen())
        return;
    OVERLAPPED overlapped{};
    const DWORD flags
        = (kind == Kind::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | (wait == Wait::No ? LOCKFILE_FAIL_IMMEDIATELY : 0);
    if (!LockFileEx(m_file.native(), flags, 0, 1, 0, &overlapped)) {
        m_state = GetLastError() == ERROR_LOCK_VIOLATION ? State::HeldElsewhere : State::Failed;
        m_file.close();
        return;
    }
    m_state = State::Held;
}
#else
FileLock::FileLock(const QString &fileName, Wait wait, Kind kind)
    : m_file(::open(QFile::encodeName(fileName).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
{
    if (!m_file.isOpen())
        return;
    int result;
    do
        result
            = flock(m_file.native(), (kind == Kind::Exclusive ? LOCK_EX : LOCK_SH) | (wait == Wait::No ? LOCK_NB : 0));
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        m_state = errno == EWOULDBLOCK ? State::HeldElsewhere : State::Failed;
        m_file.close();
        return;
    }
    m_state = State::Held;
}
#endif

InstanceLock::InstanceLock(const QString &name)
{
    const std::optional<QString> folder = runtimeFolder(&m_error);
    if (!folder)
        return;
    const QString fileName = *folder + u'/' + name + QStringLiteral(".lock");
    m_lock.emplace(fileName, FileLock::Wait::No);
    if (m_lock->state() == FileLock::State::Failed)
        m_error = QStringLiteral("The lock file %1 cannot be opened").arg(QDir::toNativeSeparators(fileName));
}

FileLock::State InstanceLock::state() const
{
    return m_lock ? m_lock->state() : FileLock::State::Failed;
}

} // namespace platform
