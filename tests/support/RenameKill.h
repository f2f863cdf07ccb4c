#pragma once

#include "ChildProcess.h"

#include <chrono>
#include <csignal>
#include <functional>

#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

// A kill at an exact step of a run of renames, which no timer can hit: work
// runs in a forked child, traced, and is killed (SIGKILL, as from outside)
// as its main thread enters its n-th rename, before that rename is made.
// Killed when the n-th rename came, Exited when work ended first. Other
// threads of the child are not watched.
namespace renamekill {

inline bool isRename(long call)
{
    return call == SYS_rename || call == SYS_renameat || call == SYS_renameat2;
}

inline childprocess::Result runKilledAtRename(const std::function<int()> &work, int n,
                                              std::chrono::milliseconds limit = std::chrono::seconds(60))
{
    const pid_t child = ::fork();
    if (child < 0)
        return {};
    if (child == 0) {
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        int code = 121;
        try {
            code = work();
        } catch (...) {
        }
        ::_exit(code);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    ::waitpid(child, &status, 0);
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int renames = 0;
    bool entering = true;
    int signal = 0;
    for (;;) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return {childprocess::Outcome::TimedOut, -1};
        }
        ::ptrace(PTRACE_SYSCALL, child, nullptr, reinterpret_cast<void *>(static_cast<long>(signal)));
        signal = 0;
        if (::waitpid(child, &status, 0) != child)
            return {};
        if (WIFEXITED(status))
            return {childprocess::Outcome::Exited, WEXITSTATUS(status)};
        if (WIFSIGNALED(status))
            return {WTERMSIG(status) == SIGKILL ? childprocess::Outcome::Killed : childprocess::Outcome::Exited, -1};
        if (!WIFSTOPPED(status))
            continue;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            signal = WSTOPSIG(status); // the child's own signal goes on to it
            continue;
        }
        user_regs_struct registers{};
        ::ptrace(PTRACE_GETREGS, child, nullptr, &registers);
        if (entering && isRename(long(registers.orig_rax)) && ++renames == n) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return {childprocess::Outcome::Killed, -1};
        }
        entering = !entering;
    }
}

} // namespace renamekill
