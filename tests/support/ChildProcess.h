#pragma once

#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs work in a forked child, the way a real process of the programs is
// killed or ends: the child leaves by _exit (no test teardown), a kill is
// a real SIGKILL. The wait is bounded; a child that overstays is killed.
namespace childprocess {

enum class Outcome { Exited, Killed, TimedOut, NotStarted };

struct Result
{
    Outcome outcome = Outcome::NotStarted;
    int exitCode = -1;
};

// work answers the child's exit code.
inline Result run(const std::function<int()> &work, std::chrono::milliseconds limit = std::chrono::seconds(60))
{
    const pid_t child = ::fork();
    if (child < 0)
        return {};
    if (child == 0) {
        int code = 120;
        try {
            code = work();
        } catch (...) {
            code = 121;
        }
        ::_exit(code);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return {Outcome::TimedOut, -1};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFSIGNALED(status))
        return {WTERMSIG(status) == SIGKILL ? Outcome::Killed : Outcome::Exited, -1};
    return {Outcome::Exited, WEXITSTATUS(status)};
}

// Ends the calling process as a kill from outside would.
[[noreturn]] inline void killSelf()
{
    ::kill(::getpid(), SIGKILL);
    for (;;)
        ::pause();
}

} // namespace childprocess
