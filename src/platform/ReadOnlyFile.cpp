#include "ReadOnlyFile.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

#ifdef Q_OS_UNIX

ReadOnlyFile::ReadOnlyFile(const QString &path)
{
    do {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        return;
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_size = qint64(info.st_size);
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 ReadOnlyFile::readAt(qint64 offset, char *data, qint64 length)
{
    qint64 done = 0;
    while (m_fd >= 0 && done < length) {
        const ssize_t got = ::pread(m_fd, data + done, size_t(length - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += got;
    }
    return done;
}

#else

ReadOnlyFile::ReadOnlyFile(const QString &path) : m_file(std::make_unique<QFile>(path))
{
    if (m_file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        m_size = m_file->size();
}

ReadOnlyFile::~ReadOnlyFile() = default;

qint64 ReadOnlyFile::readAt(qint64 offset, char *data, qint64 length)
{
    if (!isOpen() || !m_file->seek(offset))
        return 0;
    qint64 done = 0;
    while (done < length) {
        const qint64 got = m_file->read(data + done, length - done);
        if (got <= 0)
            break;
        done += got;
    }
    return done;
}

#endif

} // namespace platform
