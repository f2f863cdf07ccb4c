#pragma once

#include "platform/ChildRun.h"

#include <chrono>
#include <csignal>
#include <functional>

#include <unistd.h>

// Runs work in a forked child, the way a real process of the programs is
// killed or ends: the child leaves by _exit (no test teardown), a kill is
// a real SIGKILL. The wait is bounded; a child that overstays is killed.
namespace childprocess {

enum class Outcome { Exited, Killed, TimedOut, NotStarted };

struct Result {
    Outcome outcome = Outcome::NotStarted;
    int exitCode = -1;
};

// work answers the child's exit code.
inline Result run(const std::function<int()> &work, std::chrono::milliseconds limit = std::chrono::seconds(60))
{
    using Ended = platform::ChildResult::Outcome;
    const platform::ChildResult ended = platform::runInChild(
        [&] {
            try {
                return work();
            } catch (...) {
                return 121;
            }
        },
        limit);
    switch (ended.outcome) {
    case Ended::Exited: return {Outcome::Exited, ended.exitCode};
    case Ended::Signalled: return {ended.signal == SIGKILL ? Outcome::Killed : Outcome::Exited, -1};
    case Ended::TimedOut: return {Outcome::TimedOut, -1};
    case Ended::NotStarted: break;
    }
    return {};
}

// Ends the calling process as a kill from outside would.
[[noreturn]] inline void killSelf()
{
    ::kill(::getpid(), SIGKILL);
    for (;;)
        ::pause();
}

} // namespace childprocess
