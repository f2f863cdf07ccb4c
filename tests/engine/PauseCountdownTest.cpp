#include "engine/PauseCountdown.h"

#include <gtest/gtest.h>

using namespace pausecountdown;

TEST(PauseCountdown, OnlyAWholeNonZeroNumberCountsDown)
{
    EXPECT_EQ(Minutes(true, QStringLiteral("5")), 5);
    EXPECT_EQ(Minutes(true, QStringLiteral(" 7 ")), 7);
    EXPECT_FALSE(Minutes(false, QStringLiteral("5")));
    EXPECT_FALSE(Minutes(true, QString()));
    EXPECT_FALSE(Minutes(true, QStringLiteral("0")));
    EXPECT_FALSE(Minutes(true, QStringLiteral("five")));
    EXPECT_FALSE(Minutes(true, QStringLiteral("1.5")));
}

TEST(PauseCountdown, CountsFromTheRequestNotFromNow)
{
    const QDateTime requested(QDate(2026, 12, 9), QTime(10, 0));
    EXPECT_EQ(RemainingMs(requested, 5, requested.addSecs(60)), 4 * 60 * 1000);
    EXPECT_LT(RemainingMs(requested, 5, requested.addSecs(301)), 0);
    EXPECT_EQ(RemainingText(-5000), QStringLiteral("00:00:00"));
    EXPECT_EQ(RemainingText(4 * 60 * 1000 - 1), QStringLiteral("00:04:00")) << "a started second counts";
}
