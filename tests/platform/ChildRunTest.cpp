#include "platform/ChildRun.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

using platform::ChildResult;
using namespace std::chrono_literals;

namespace {

struct Ending {
    const char *name;
    std::function<int()> work;
    ChildResult::Outcome outcome;
    int exitCode;
    int signal;
};

} // namespace

// Whatever the child does, this process learns how it ended and goes on;
// one that overstays is killed at the limit, not waited for.
TEST(ChildRun, TellsHowTheChildEndedAndNeverWaitsPastTheLimit)
{
    int touched = 0;
    const Ending endings[] = {
        {"succeeds", [] { return 0; }, ChildResult::Outcome::Exited, 0, 0},
        {"fails", [] { return 3; }, ChildResult::Outcome::Exited, 3, 0},
        {"is ended by a signal",
         []() -> int {
             std::raise(SIGTERM);
             return 0;
         },
         ChildResult::Outcome::Signalled, -1, SIGTERM},
        {"overstays",
         [] {
             std::this_thread::sleep_for(30s);
             return 0;
         },
         ChildResult::Outcome::TimedOut, -1, 0},
        {"changes only itself",
         [&touched] {
             touched = 1;
             return 0;
         },
         ChildResult::Outcome::Exited, 0, 0},
    };
    for (const Ending &ending : endings) {
        SCOPED_TRACE(ending.name);
        QElapsedTimer timer;
        timer.start();
        const ChildResult result = platform::runInChild(ending.work, 300ms);
        EXPECT_LT(timer.elapsed(), 5000);
        EXPECT_EQ(result.outcome, ending.outcome);
        EXPECT_EQ(result.exitCode, ending.exitCode);
        EXPECT_EQ(result.signal, ending.signal);
        EXPECT_EQ(result.succeeded(), ending.outcome == ChildResult::Outcome::Exited && ending.exitCode == 0);
    }
    EXPECT_EQ(touched, 0);
}
