#include "scheduler/widgets/NotificationAreaWait.h"

#include "FakeClock.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace zentavo;

// The wait is driven tick by tick on a clock that stands still between
// ticks, as the timer would drive it once a second.
TEST(NotificationAreaWait, TellsOnlyWhenNoAreaAppearedInTime)
{
    struct Case {
        const char *name;
        std::optional<int> appearsAt; // seconds after the start; never without
        std::optional<int> toldAt;    // nothing told without
    };
    const Case cases[] = {
        {"there from the start", 0, std::nullopt},
        {"appears after 4 s", 4, std::nullopt},
        {"appears just in time", NotificationAreaWait::GraceSeconds - 1, std::nullopt},
        {"appears too late", NotificationAreaWait::GraceSeconds + 2, NotificationAreaWait::GraceSeconds},
        {"never appears", std::nullopt, NotificationAreaWait::GraceSeconds},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QDateTime start(QDate(2026, 12, 9), QTime(8, 0));
        FakeClockScope clock(start);
        std::vector<qint64> told;
        NotificationAreaWait wait([&] { return c.appearsAt && start.secsTo(clock.clock().now()) >= *c.appearsAt; },
                                  [&] { told.push_back(start.secsTo(clock.clock().now())); });
        wait.Start();
        EXPECT_EQ(wait.Waiting(), c.appearsAt != 0);
        for (int second = 1; second <= 3 * NotificationAreaWait::GraceSeconds; ++second) {
            clock.clock().advanceSeconds(1);
            wait.Check();
        }
        EXPECT_FALSE(wait.Waiting());
        if (c.toldAt)
            EXPECT_EQ(told, std::vector<qint64>{*c.toldAt});
        else
            EXPECT_TRUE(told.empty());
    }
}
