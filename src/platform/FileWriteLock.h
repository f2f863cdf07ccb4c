#pragma once

#include "platform/FileHandle.h"

#include <QString>

#include <chrono>

namespace platform {

// The lock one writer of a file holds from before it reads the file until
// it has written it, so that two processes never change it at once. It is a
// flock on a lock file beside the target, named after it; for a target that
// is a link, beside where the link leads, so that writers naming the file
// through a link and by its own name take one lock. The target itself may
// be renamed away and replaced while it is written (the volumes of a set, a
// file made anew), the lock file never is. The kernel drops the lock
// when the process ends in any way; a lock file a killed writer left is
// taken over by the next writer, and every writer removes it when it lets
// go. A lock file that is not a plain file (a link, which the lock never
// follows) is replaced by one; a plain one that this user may not write (a
// killed run of another user left it) is locked through a read-only
// handle, since it may be held; one that cannot be opened at all leaves
// the lock Failed, with the reason.
class FileWriteLock {
public:
    enum class State {
        Held,
        InUse,  // another writer kept it for the whole wait
        Failed, // no lock file can be made or opened there (see failure())
    };

    FileWriteLock(const QString &target, std::chrono::milliseconds wait);
    ~FileWriteLock();
    FileWriteLock(const FileWriteLock &) = delete;
    FileWriteLock &operator=(const FileWriteLock &) = delete;

    State state() const { return m_state; }
    // Why the lock is Failed: the system's reason, for a person.
    const QString &failure() const { return m_failure; }
    const QString &path() const { return m_path; }

    // The lock file of target.
    static QString lockFileName(const QString &target);

private:
    QString m_path;
    State m_state = State::Failed;
    QString m_failure;
    FileHandle m_file;
};

} // namespace platform
