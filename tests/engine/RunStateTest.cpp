#include "engine/RunState.h"

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <vector>

namespace {

using Phase = RunState::Phase;

struct Step {
    const char *what;
    std::function<void(RunState &)> act;
    Phase after;
};

void walk(const std::vector<Step> &steps)
{
    RunState state;
    EXPECT_EQ(state.phase(), Phase::Idle);
    for (const Step &step : steps) {
        step.act(state);
        EXPECT_EQ(state.phase(), step.after) << step.what;
    }
}

const Step request{"request", [](RunState &s) { s.request(); }, Phase::Requested};
const Step begin{"worker begins", [](RunState &s) { EXPECT_TRUE(s.beginRun()); }, Phase::Running};
const Step end{"worker ends", [](RunState &s) { s.endRun(); }, Phase::Finishing};
const Step take{"window takes the end", [](RunState &s) { EXPECT_TRUE(s.takeEnded()); }, Phase::Finishing};
const Step finish{"window finishes",
                  [](RunState &s) {
                      s.beginFinishing();
                      s.finished();
                  },
                  Phase::Idle};

} // namespace

TEST(RunState, PhasesFollowTheRunFromRequestToFinish)
{
    const std::vector<std::vector<Step>> paths{
        {request, begin, end, take, finish},
        {{"arm an automatic run", [](RunState &s) { s.armAutoRun(true); }, Phase::Requested},
         begin,
         end,
         take,
         {"finish keeps an automatic run armed", [](RunState &s) { s.finished(); }, Phase::Requested}},
        {request,
         {"start dialog cancelled", [](RunState &s) { s.withdraw(); }, Phase::Idle},
         {"a worker with nothing asked does not begin", [](RunState &s) { EXPECT_FALSE(s.beginRun()); }, Phase::Idle}},
        {request,
         begin,
         {"window breaks the run off",
          [](RunState &s) {
              s.stop(true);
              s.withdraw();
              s.brokeOff();
          },
          Phase::Finishing},
         take,
         finish},
        {request,
         begin,
         end,
         take,
         {"a second take finds nothing", [](RunState &s) { EXPECT_FALSE(s.takeEnded()); }, Phase::Finishing},
         {"finishing refuses a start",
          [](RunState &s) {
              s.beginFinishing();
              EXPECT_TRUE(s.finishing());
          },
          Phase::Finishing},
         finish},
    };
    for (std::size_t i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "path " << i);
        walk(paths[i]);
    }
}

TEST(RunState, AHeldWorkerWaitsUntilReleasedOrStopped)
{
    for (const bool stopInstead : {false, true}) {
        RunState state;
        state.request();
        ASSERT_TRUE(state.beginRun());
        state.hold();
        auto testPoint = std::async(std::launch::async, [&state] { return state.stopRequested(); });
        EXPECT_EQ(testPoint.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
        if (stopInstead)
            state.stop(false);
        else
            state.release();
        ASSERT_EQ(testPoint.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        EXPECT_EQ(testPoint.get(), stopInstead);
        EXPECT_EQ(state.ArchiveCancel(), stopInstead);
        EXPECT_FALSE(*state.copyStopFlag());
    }
}

TEST(RunState, ANewWorkerForgetsWhatStoppedTheLastRun)
{
    RunState state;
    state.request();
    ASSERT_TRUE(state.beginRun());
    state.stop(true);
    state.brokeOff();
    state.prepareWorker();
    ASSERT_TRUE(state.beginRun());
    EXPECT_FALSE(state.stopRequested());
    EXPECT_FALSE(state.ArchiveCancel());
    EXPECT_FALSE(*state.copyStopFlag());
}
