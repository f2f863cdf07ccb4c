#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fcntl.h>
#include <optional>
#include <vector>

// A folder in which, after exhaust(room), a file can grow to about room
// bytes and no further, the way a full disk behaves. Run as root the folder
// is a small tmpfs of its own that exhaust fills up; otherwise the process's
// file size limit (ulimit -f) is lowered, with SIGXFSZ ignored so a write
// fails instead of killing the test. Both are undone when the object dies.
// Tests skip with reason() when neither works. SCARCE_SPACE_BY_ULIMIT=1 in
// the environment takes the size limit even as root, to try that way too.
class ScarceSpace {
public:
    ScarceSpace()
    {
        if (!m_dir.isValid()) {
            m_reason = QStringLiteral("no temporary folder");
            return;
        }
        if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("SCARCE_SPACE_BY_ULIMIT")
            && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, "size=1m") == 0)
            m_mounted = true;
    }
    ~ScarceSpace()
    {
        if (m_limit) {
            ::setrlimit(RLIMIT_FSIZE, &*m_limit);
            ::signal(SIGXFSZ, m_previousHandler);
        }
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    ScarceSpace(const ScarceSpace &) = delete;
    ScarceSpace &operator=(const ScarceSpace &) = delete;

    QString folder() const { return m_dir.path() + u'/'; }
    bool mounted() const { return m_mounted; }

    // False (with reason()) when no scarcity could be made.
    bool exhaust(qint64 room) { return m_mounted ? fill(room) : limit(room); }
    QString reason() const { return m_reason; }

private:
    // Fills the tmpfs, then frees room bytes of the filler again.
    bool fill(qint64 room)
    {
        const QByteArray filler = QFile::encodeName(m_dir.path() + QStringLiteral("/.filler"));
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return fail(QStringLiteral("cannot create the filler"));
        const std::vector<char> block(4096, 'f');
        qint64 size = 0;
        for (;;) {
            const ssize_t written = ::write(fd, block.data(), block.size());
            if (written <= 0)
                break;
            size += written;
        }
        const bool freed = ::ftruncate(fd, std::max<qint64>(0, size - room)) == 0;
        ::close(fd);
        return freed || fail(QStringLiteral("cannot free room in the filler"));
    }

    bool limit(qint64 room)
    {
        rlimit previous{};
        if (::getrlimit(RLIMIT_FSIZE, &previous) != 0)
            return fail(QStringLiteral("no file size limit to lower (ulimit -f)"));
        rlimit lowered = previous;
        lowered.rlim_cur = rlim_t(room);
        m_previousHandler = ::signal(SIGXFSZ, SIG_IGN);
        if (::setrlimit(RLIMIT_FSIZE, &lowered) != 0) {
            ::signal(SIGXFSZ, m_previousHandler);
            return fail(QStringLiteral("neither a tmpfs mount nor ulimit -f is possible here"));
        }
        m_limit = previous;
        return true;
    }

    bool fail(const QString &reason)
    {
        m_reason = reason;
        return false;
    }

    QTemporaryDir m_dir;
    bool m_mounted = false;
    std::optional<rlimit> m_limit;
    sighandler_t m_previousHandler = SIG_DFL;
    QString m_reason;
};

#define SKIP_UNLESS_EXHAUSTED(space, room)                                                                             \
    if (!(space).exhaust(room))                                                                                        \
    GTEST_SKIP() << qPrintable((space).reason())
