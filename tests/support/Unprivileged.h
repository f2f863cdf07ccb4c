#pragma once

#include "ChildProcess.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

// Permissions only bind an ordinary user: root reads a folder of mode 000.
// Work that must meet them runs in a forked child as "nobody" when the
// tests run as root, else as the user itself. Files the child is to reach
// must be open to it (openToAll); a child that cannot drop its rights
// exits with NotPossible, and the test skips with a message.
namespace unprivileged {

constexpr int NotPossible = 77;
constexpr uid_t Nobody = 65534;

inline childprocess::Result run(const std::function<int()> &work)
{
    return childprocess::run([&work] {
        if (::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0 || ::geteuid() == 0))
            return NotPossible;
        return work();
    });
}

// Lets every user read, write and enter path.
inline void openToAll(const QString &path)
{
    ::chmod(QFile::encodeName(path).constData(), 0777);
}

} // namespace unprivileged

#define SKIP_IF_NOT_UNPRIVILEGED(result)                                                                               \
    if ((result).outcome == childprocess::Outcome::Exited && (result).exitCode == unprivileged::NotPossible)           \
    GTEST_SKIP() << "no unprivileged user to meet the permissions as"
