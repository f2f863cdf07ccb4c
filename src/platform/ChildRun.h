#pragma once

#include <QtGlobal>

#include <chrono>
#include <functional>

namespace platform {

// Whether the system makes child processes by forking; where it does not,
// runInChild runs nothing.
#ifdef Q_OS_UNIX
inline constexpr bool ForksChildren = true;
#else
inline constexpr bool ForksChildren = false;
#endif

// How a function run in a child process ended.
struct ChildResult {
    enum class Outcome {
        Exited,     // work returned; exitCode holds its answer
        Signalled,  // a signal ended the child (a crash, an abort, a kill)
        TimedOut,   // still running at the limit: killed and reaped
        NotStarted, // no child could be made
    };
    Outcome outcome = Outcome::NotStarted;
    int exitCode = -1;
    int signal = 0;

    bool succeeded() const { return outcome == Outcome::Exited && exitCode == 0; }
};

// Runs work in a forked child process, so that whatever goes wrong in it (a
// library that trusts a damaged file) cannot take this process down, and
// waits at most limit for it. The child leaves by _exit with work's answer
// as its exit code: nothing of this process is torn down in it. No child
// outlives the call.
ChildResult runInChild(const std::function<int()> &work, std::chrono::milliseconds limit);

} // namespace platform
