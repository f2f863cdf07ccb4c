#include "scheduler/ScheduleCheck.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace zentavo;

namespace {

// 2026-12-06 is a Sunday.
QDateTime at(int day, int hour, int minute, int second = 0, int month = 12)
{
    return QDateTime(QDate(2026, month, day), QTime(hour, minute, second));
}

TVorrinCopies daily(QStringList times = {QStringLiteral("22:00")})
{
    TVorrinCopies copies;
    copies.ScheduleTimes = std::move(times);
    copies.CheckBoxDay1Tag = 1; // Sunday off, the default
    return copies;
}

TVorrinCopies withCode(int code)
{
    TVorrinCopies copies = daily();
    copies.DayOfWeek1Tag = code;
    return copies;
}

TVorrinCopies exceptDaysOff()
{
    TVorrinCopies copies = daily();
    copies.CheckBoxNotWeekTag = 1;
    return copies;
}

TVorrinCopies monthly(const QString &days)
{
    TVorrinCopies copies = daily();
    copies.ScheduleMonthDays = days;
    return copies;
}

constexpr ScheduledStart NotDue = ScheduledStart::None;
constexpr ScheduledStart Due = ScheduledStart::Due;
constexpr ScheduledStart HeldBack = ScheduledStart::HeldBack;

struct TickCase {
    const char *name;
    TVorrinCopies copies;
    QDateTime tick;
    ScheduleState state;
    ScheduledStart action;
};

} // namespace

TEST(ScheduleCheckTest, TickStartsARunOnlyWhenDayTimeAndStateAllowIt)
{
    const ScheduleState idle;
    const ScheduleState running{true, {}, {}};
    const ScheduleState startedThisMinute{false, at(9, 22, 0), {}};
    const ScheduleState runningSinceThisMinute{true, at(9, 22, 0), {}};
    const ScheduleState startedYesterday{false, at(8, 22, 0), {}};
    const ScheduleState heldBackThisMinute{true, at(8, 22, 0), at(9, 22, 0)};
    const ScheduleState heldBackButEnded{false, at(8, 22, 0), at(9, 22, 0)};
    const std::vector<TickCase> cases = {
        {"daily, first second of the minute", daily(), at(9, 22, 0, 0), idle, Due},
        {"daily, last second of the minute", daily(), at(9, 22, 0, 59), idle, Due},
        {"daily, a minute late", daily(), at(9, 22, 1), idle, NotDue},
        {"daily, a minute early", daily(), at(9, 21, 59, 59), idle, NotDue},
        {"daily, second entry", daily({QStringLiteral("08:15"), QStringLiteral("22:00")}), at(9, 22, 0), idle, Due},
        {"daily without days off runs on Sunday", daily(), at(6, 22, 0), idle, Due},
        {"days off: Sunday is off", exceptDaysOff(), at(6, 22, 0), idle, NotDue},
        {"days off: Monday runs", exceptDaysOff(), at(7, 22, 0), idle, Due},
        {"weekly 62: Saturday", withCode(62), at(12, 22, 0), idle, NotDue},
        {"weekly 62: Sunday", withCode(62), at(6, 22, 0), idle, NotDue},
        {"weekly 62: Monday", withCode(62), at(7, 22, 0), idle, Due},
        {"weekly 62: Friday", withCode(62), at(11, 22, 0), idle, Due},
        {"weekly bit 0 is Sunday", withCode(1), at(6, 22, 0), idle, Due},
        {"weekly ignores days off",
         [] {
             auto c = withCode(1);
             c.CheckBoxNotWeekTag = 1;
             return c;
         }(),
         at(6, 22, 0), idle, Due},
        {"monthly on the 1st", monthly(QStringLiteral("0115")), at(1, 22, 0), idle, Due},
        {"monthly on the 15th", monthly(QStringLiteral("0115")), at(15, 22, 0), idle, Due},
        {"monthly not on the 5th", monthly(QStringLiteral("0115")), at(5, 22, 0), idle, NotDue},
        // Under a month-first short date, 5 January reads "1/5/..." or "01/05/...".
        {"monthly compares the day, not the month", monthly(QStringLiteral("01")), at(5, 22, 0, 0, 1), idle, NotDue},
        {"monthly day 31", monthly(QStringLiteral("31")), at(31, 22, 0), idle, Due},
        {"monthly ignores days off",
         [] {
             auto c = monthly(QStringLiteral("06"));
             c.CheckBoxNotWeekTag = 1;
             return c;
         }(),
         at(6, 22, 0), idle, Due},
        {"on startup never by the timer", withCode(ScheduleOnStartup), at(9, 22, 0), idle, NotDue},
        {"a run under way", daily(), at(9, 22, 0), running, HeldBack},
        {"a run under way since yesterday", daily(), at(10, 22, 0), running, HeldBack},
        {"a run under way, not a start time", daily(), at(10, 22, 1), running, NotDue},
        {"a run under way, not a start day", exceptDaysOff(), at(6, 22, 0), running, NotDue},
        {"a run under way, no times", daily({}), at(9, 22, 0), running, NotDue},
        {"held back already in this minute", daily(), at(9, 22, 0, 58), heldBackThisMinute, NotDue},
        {"held back, ended within the minute", daily(), at(9, 22, 0, 58), heldBackButEnded, Due},
        {"the run of this very minute", daily(), at(9, 22, 0, 58), runningSinceThisMinute, NotDue},
        {"second tick of the start minute", daily(), at(9, 22, 0, 58), startedThisMinute, NotDue},
        {"the next day after a start", daily(), at(9, 22, 0, 30), startedYesterday, Due},
        {"a damaged entry does not hide the next", daily({QStringLiteral("2x:00"), QStringLiteral("22:00")}),
         at(9, 22, 0), idle, Due},
        {"an entry out of range", daily({QStringLiteral("25:00")}), at(9, 1, 0), idle, NotDue},
        {"an entry too short", daily({QStringLiteral("2:00")}), at(9, 2, 0), idle, NotDue},
        {"no times", daily({}), at(9, 22, 0), idle, NotDue},
    };
    for (const TickCase &c : cases)
        EXPECT_EQ(ScheduledStartAt(c.tick, c.copies, c.state), c.action) << c.name;
}

TEST(ScheduleCheckTest, MonthDaysAreReadInPairsAsNumbers)
{
    EXPECT_TRUE(IsRunDay(QDate(2026, 3, 5), QStringLiteral("05")));
    EXPECT_FALSE(IsRunDay(QDate(2026, 3, 10), QStringLiteral("0105"))); // "10" across a pair boundary
    EXPECT_FALSE(IsRunDay(QDate(2026, 3, 1), QStringLiteral("1")));     // an odd character left over
    EXPECT_FALSE(IsRunDay(QDate(2026, 3, 5), QStringLiteral("x5")));
}

TEST(ScheduleCheckTest, StartupRunHappensOncePerDayWhenAsked)
{
    const QDate today(2026, 12, 9);
    const QString oldForm = QLocale::system().toString(today, QLocale::ShortFormat).left(10);
    struct Case {
        const char *name;
        int code;
        std::optional<int> runOnce;
        QString lastRun;
        bool due;
    };
    const std::vector<Case> cases = {
        {"every start", ScheduleOnStartup, 0, LastRunText(today), true},
        {"once, first start today", ScheduleOnStartup, 1, LastRunText(today.addDays(-1)), true},
        {"once, never ran", ScheduleOnStartup, 1, QString(), true},
        {"once, ran today", ScheduleOnStartup, 1, LastRunText(today), false},
        {"once, ran today by an older release", ScheduleOnStartup, 1, oldForm, false},
        {"once, ran on the same day last year", ScheduleOnStartup, 1, LastRunText(today.addYears(-1)), true},
        {"once per day not readable", ScheduleOnStartup, std::nullopt, QString(), false},
        {"daily mode", 0, 0, QString(), false},
        {"weekly mode", 127, 0, QString(), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsStartupRunDue(today, c.code, c.runOnce, c.lastRun), c.due) << c.name;
    EXPECT_EQ(LastRunText(today), QStringLiteral("2026-12-09"));
}
