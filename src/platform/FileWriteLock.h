#pragma once

#include "platform/FileHandle.h"

#include <QString>

#include <chrono>

namespace platform {

// The lock one writer of a file holds from before it reads the file until
// it has written it, so that two processes never change it at once. It is a
// flock on a lock file beside the target, named after it: the target itself
// may be renamed away and replaced while it is written (the volumes of a
// set, a file made anew), the lock file never is. The kernel drops the lock
// when the process ends in any way; a lock file a killed writer left is
// taken over by the next writer, and every writer removes it when it lets
// go.
class FileWriteLock {
public:
    enum class State {
        Held,
        InUse,  // another writer kept it for the whole wait
        Failed, // no lock file can be made there (a folder that is read-only)
    };

    FileWriteLock(const QString &target, std::chrono::milliseconds wait);
    ~FileWriteLock();
    FileWriteLock(const FileWriteLock &) = delete;
    FileWriteLock &operator=(const FileWriteLock &) = delete;

    State state() const { return m_state; }

    // The lock file of target.
    static QString lockFileName(const QString &target);

private:
    QString m_path;
    State m_state = State::Failed;
    FileHandle m_file;
};

} // namespace platform
