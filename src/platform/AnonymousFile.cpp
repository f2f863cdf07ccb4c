#include "AnonymousFile.h"

#ifdef Q_OS_LINUX
#include <cerrno>
#include <sys/mman.h>
#include <unistd.h>
#else
#include <QTemporaryFile>
#endif

namespace platform {

#ifdef Q_OS_LINUX

namespace {

bool writeAll(int fd, const QByteArray &data)
{
    qsizetype written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + written, size_t(data.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

} // namespace

AnonymousFile::AnonymousFile(const QByteArray &data) : m_fd(::memfd_create("zentavo-copy", MFD_CLOEXEC))
{
    if (m_fd < 0)
        return;
    if (!writeAll(m_fd, data)) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_path = QStringLiteral("/proc/self/fd/%1").arg(m_fd);
}

AnonymousFile::~AnonymousFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

#else

AnonymousFile::AnonymousFile(const QByteArray &data) : m_file(std::make_unique<QTemporaryFile>())
{
    if (m_file->open() && m_file->write(data) == data.size() && m_file->flush())
        m_path = m_file->fileName();
}

AnonymousFile::~AnonymousFile() = default;

#endif

} // namespace platform
