#include "shared/ZentavoExt.h"

#include <gtest/gtest.h>

using namespace zentavo;

namespace {

QDateTime at(int year, int month, int day, int hour = 12, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

} // namespace

TEST(ExpandDateMacros, ReplacesEachMacroFromTheGivenTime)
{
    const QDateTime tuesday = at(2026, 12, 8, 7, 5, 9);
    EXPECT_EQ(ExpandDateMacros(QStringLiteral("Backup_*Y-*M-*D.zip"), tuesday),
              QStringLiteral("Backup_2026-12-08.zip"));
    EXPECT_EQ(ExpandDateMacros(QStringLiteral("*M*m"), tuesday), QStringLiteral("1205"));
    EXPECT_EQ(ExpandDateMacros(QStringLiteral("*y_*h-*s_*W"), tuesday), QStringLiteral("26_07-09_2"));
    EXPECT_EQ(ExpandDateMacros(QStringLiteral("day*W"), at(2026, 12, 6)), QStringLiteral("day0"));
    EXPECT_EQ(ExpandDateMacros(QStringLiteral("*Y*M*D*h*m*s"), at(2026, 12, 31, 23, 59, 59)),
              QStringLiteral("20261231235959"));
    // Macros are matched case-sensitively; other stars stay.
    EXPECT_EQ(ExpandDateMacros(QStringLiteral("*d*x*"), tuesday), QStringLiteral("*d*x*"));
}

TEST(ExpandDateMacros, ReplacesOnlyTheFirstOccurrence)
{
    const QDateTime time = at(2026, 12, 8);
    EXPECT_EQ(ExpandDateMacros(QStringLiteral("*D*D.zip"), time), QStringLiteral("08*D.zip"));
    EXPECT_EQ(ExpandDateMacros(QStringLiteral("*Y/*Y/*M"), time), QStringLiteral("2026/*Y/12"));
}

TEST(ExpandPeriodMark, WeekNumbersFollowIsoAcrossYearEnds)
{
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("W?\\"), PeriodWeek, at(2024, 12, 30)), QStringLiteral("W01\\"));
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("W?\\"), PeriodWeek, at(2027, 1, 1)), QStringLiteral("W53\\"));
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("W?"), PeriodWeek, at(2026, 12, 31)), QStringLiteral("W53"));
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("W?"), PeriodWeek, at(2027, 1, 4)), QStringLiteral("W01"));
    // A Sunday still belongs to the week that began on the Monday before.
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("W?"), PeriodWeek, at(2026, 1, 4)), QStringLiteral("W01"));
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("W?"), PeriodWeek, at(2026, 1, 5)), QStringLiteral("W02"));
}

TEST(ExpandPeriodMark, MonthQuarterAndYear)
{
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("Q?\\"), PeriodQuarter, at(2026, 11, 30)), QStringLiteral("Q4\\"));
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("Q?\\"), PeriodQuarter, at(2026, 1, 31)), QStringLiteral("Q1\\"));
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("M?\\"), PeriodMonth, at(2026, 3, 31)), QStringLiteral("M03\\"));
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("Y?\\"), PeriodYear, at(2026, 12, 31)), QStringLiteral("Y26\\"));
}

TEST(ExpandPeriodMark, ReplacesTheFirstMarkOfAKnownKindOnly)
{
    const QDateTime time = at(2026, 3, 31);
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("M?_?"), PeriodMonth, time), QStringLiteral("M03_?"));
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("Month"), PeriodMonth, time), QStringLiteral("Month"));
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("M?"), 0, time), QStringLiteral("M?"));
    EXPECT_EQ(ExpandPeriodMark(QStringLiteral("M?"), 5, time), QStringLiteral("M?"));
}

TEST(IsDayInList, TestsTheRunStartsWeekday)
{
    const QDate sunday = at(2026, 12, 6).date();
    EXPECT_TRUE(IsDayInList(QString(), sunday));
    EXPECT_TRUE(IsDayInList(QStringLiteral("06"), sunday));
    EXPECT_FALSE(IsDayInList(QStringLiteral("135"), sunday));
    EXPECT_TRUE(IsDayInList(QStringLiteral("06"), at(2026, 12, 12).date())); // Saturday
    const QDate wednesday = at(2026, 12, 9).date();
    EXPECT_TRUE(IsDayInList(QStringLiteral("135"), wednesday));
    EXPECT_FALSE(IsDayInList(QStringLiteral("0246"), wednesday));
}
