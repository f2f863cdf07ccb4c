#pragma once

#include "platform/FileHandle.h"

#include <QString>

#include <optional>

namespace platform {

// A lock on a file, held while the object lives: exclusive, or shared with
// other shared holders (an exclusive one then waits or fails). The kernel
// releases it when the process ends in any way, so a crash never leaves it
// behind; child processes do not inherit it. Two objects on the same file
// are two holders, even in one process.
class FileLock {
public:
    enum class Wait { No, Yes };
    enum class Kind { Exclusive, Shared };
    enum class State { Held, HeldElsewhere, Failed };

    FileLock(const QString &fileName, Wait wait, Kind kind = Kind::Exclusive);
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    State state() const { return m_state; }

private:
    State m_state = State::Failed;
    FileHandle m_file;
};

// The single-instance guard of a program: the lock "<name>.lock" in the
// runtime folder, taken without waiting. HeldElsewhere means another
// instance runs; Failed means the folder or the file is not usable.
class InstanceLock {
public:
    explicit InstanceLock(const QString &name);
    FileLock::State state() const;
    // Why the state is Failed: the folder or file, and the reason.
    QString errorString() const { return m_error; }

private:
    std::optional<FileLock> m_lock;
    QString m_error;
};

} // namespace platform
