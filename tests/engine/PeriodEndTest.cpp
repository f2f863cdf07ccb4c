#include "engine/PeriodEnd.h"

#include <gtest/gtest.h>

using namespace period;

namespace {
constexpr int sundayOff = 1;
constexpr int weekendOff = 65;
constexpr int everyDayOff = 127;
} // namespace

TEST(PeriodEnd, WeekEndsOnTheLastWorkingDay)
{
    EXPECT_EQ(weekEndDay(0), 0);
    EXPECT_EQ(weekEndDay(sundayOff), 6);
    EXPECT_EQ(weekEndDay(weekendOff), 5);
    EXPECT_EQ(weekEndDay(everyDayOff), 0);
    EXPECT_EQ(weekEndDay(0b1111110), 0);                    // only Sunday works
    EXPECT_TRUE(endsWeek(QDate(2026, 12, 11), weekendOff)); // a Friday
    EXPECT_FALSE(endsWeek(QDate(2026, 12, 12), weekendOff));
}

TEST(PeriodEnd, MonthQuarterAndYearEndOnTheirLastWorkingDay)
{
    EXPECT_EQ(monthEndDay(QDate(2026, 5, 3), weekendOff), QDate(2026, 5, 29));
    EXPECT_EQ(monthEndDay(QDate(2026, 5, 3), 0), QDate(2026, 5, 31));
    // The search ends inside the month however many days are off.
    EXPECT_EQ(monthEndDay(QDate(2026, 2, 10), everyDayOff), QDate(2026, 2, 1));

    EXPECT_FALSE(endsYear(QDate(2026, 12, 25), weekendOff));
    EXPECT_TRUE(endsYear(QDate(2026, 12, 31), weekendOff));
    EXPECT_TRUE(endsQuarter(QDate(2026, 3, 31), weekendOff));
    EXPECT_FALSE(endsQuarter(QDate(2026, 4, 30), weekendOff));
    EXPECT_TRUE(endsMonth(QDate(2026, 4, 30), weekendOff));
    // A leap February.
    EXPECT_TRUE(endsMonth(QDate(2028, 2, 29), 0));
}
