#include "ChildRun.h"

#ifdef Q_OS_UNIX
#include <cerrno>
#include <optional>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace platform {

#ifdef Q_OS_UNIX

namespace {

// A forked child that is reaped whatever happens: one still running when
// its owner goes is killed first.
class Child {
public:
    explicit Child(pid_t pid) : m_pid(pid) {}
    ~Child()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        reap(0);
    }
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    // The child's wait status once it ended; nothing when it still runs at
    // the deadline.
    std::optional<int> waitUntil(std::chrono::steady_clock::time_point deadline)
    {
        for (;;) {
            if (const std::optional<int> status = reap(WNOHANG))
                return status;
            if (m_pid <= 0 || std::chrono::steady_clock::now() >= deadline)
                return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

private:
    // The status of the ended child, which is then forgotten; a child the
    // system no longer knows is forgotten too.
    std::optional<int> reap(int options)
    {
        int status = 0;
        pid_t ended = 0;
        do {
            ended = ::waitpid(m_pid, &status, options);
        } while (ended < 0 && errno == EINTR);
        if (ended == 0)
            return std::nullopt;
        m_pid = 0;
        return ended > 0 ? std::optional<int>(status) : std::nullopt;
    }

    pid_t m_pid;
};

} // namespace

ChildResult runInChild(const std::function<int()> &work, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    const pid_t pid = ::fork();
    if (pid < 0)
        return {};
    if (pid == 0)
        ::_exit(work());
    Child child(pid);
    const std::optional<int> status = child.waitUntil(deadline);
    if (!status)
        return {ChildResult::Outcome::TimedOut};
    if (WIFSIGNALED(*status))
        return {ChildResult::Outcome::Signalled, -1, WTERMSIG(*status)};
    return {ChildResult::Outcome::Exited, WEXITSTATUS(*status)};
}

#else

ChildResult runInChild(const std::function<int()> &, std::chrono::milliseconds)
{
    return {};
}

#endif

} // namespace platform
