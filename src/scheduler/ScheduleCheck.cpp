#include "ScheduleCheck.h"

#include <QLocale>

namespace zentavo {

namespace {

// Qt counts Monday 1 to Sunday 7; the stored masks count Sunday 0 to Saturday 6.
int dayBit(const QDate &date)
{
    return 1 << (date.dayOfWeek() % 7);
}

std::optional<int> twoDigits(QStringView text)
{
    if (text.size() != 2 || !text[0].isDigit() || !text[1].isDigit())
        return std::nullopt;
    return text.toInt();
}

} // namespace

std::optional<QTime> ScheduleTime(const QString &entry)
{
    if (entry.size() < 5 || entry[2] != u':')
        return std::nullopt;
    const std::optional<int> hour = twoDigits(QStringView(entry).left(2));
    const std::optional<int> minute = twoDigits(QStringView(entry).mid(3, 2));
    if (!hour || !minute || *hour > 23 || *minute > 59)
        return std::nullopt;
    return QTime(*hour, *minute);
}

bool IsRunTime(const QTime &time, const QStringList &scheduleTimes)
{
    for (const QString &entry : scheduleTimes) {
        const std::optional<QTime> start = ScheduleTime(entry);
        if (start && start->hour() == time.hour() && start->minute() == time.minute())
            return true;
    }
    return false;
}

bool IsRunDay(const QDate &date, const QString &monthDays)
{
    for (qsizetype i = 0; i + 1 < monthDays.size(); i += 2) {
        if (twoDigits(QStringView(monthDays).mid(i, 2)) == date.day())
            return true;
    }
    return false;
}

bool IsScheduledDay(const QDate &date, const TVorrinCopies &copies)
{
    const int code = copies.DayOfWeek1Tag;
    if (code == ScheduleOnStartup)
        return false;
    if (code > 0)
        return (code & dayBit(date)) != 0;
    if (!copies.ScheduleMonthDays.isEmpty())
        return IsRunDay(date, copies.ScheduleMonthDays);
    return copies.CheckBoxNotWeekTag == 0 || (copies.CheckBoxDay1Tag & dayBit(date)) == 0;
}

QDateTime StartMinute(const QDateTime &tick)
{
    // Setting the time of day would pick the first of the two passes of a
    // repeated hour, and the second pass would count as the first.
    const QTime time = tick.time();
    return tick.addMSecs(-(time.second() * 1000 + time.msec()));
}

ScheduledStart ScheduledStartAt(const QDateTime &tick, const TVorrinCopies &copies, const ScheduleState &state)
{
    if (!IsScheduledDay(tick.date(), copies) || !IsRunTime(tick.time(), copies.ScheduleTimes))
        return ScheduledStart::None;
    const QDateTime minute = StartMinute(tick);
    if (state.LastStartMinute.isValid() && minute == state.LastStartMinute)
        return ScheduledStart::None;
    if (!state.RunActive)
        return ScheduledStart::Due;
    if (state.LastHeldBackMinute.isValid() && minute == state.LastHeldBackMinute)
        return ScheduledStart::None;
    return ScheduledStart::HeldBack;
}

QString LastRunText(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

bool IsLastRunOn(const QString &lastRun, const QDate &date)
{
    const QDate stored = QDate::fromString(lastRun, Qt::ISODate);
    if (stored.isValid())
        return stored == date;
    return !lastRun.isEmpty() && lastRun.left(10) == QLocale::system().toString(date, QLocale::ShortFormat).left(10);
}

bool IsStartupRunDue(const QDate &today, int scheduleCode, std::optional<int> runOnce, const QString &lastRun)
{
    if (scheduleCode != ScheduleOnStartup || !runOnce)
        return false;
    return *runOnce == 0 || !IsLastRunOn(lastRun, today);
}

} // namespace zentavo
