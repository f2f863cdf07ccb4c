#include "PeriodEnd.h"

namespace period {

namespace {

bool isDayOff(int weekday, int daysOff)
{
    return (daysOff >> weekday) & 1;
}

} // namespace

int weekdayOf(QDate date)
{
    return date.dayOfWeek() % 7;
}

int weekEndDay(int daysOff)
{
    int day = 0;
    while (isDayOff(day, daysOff)) {
        day = day == 0 ? 6 : day - 1;
        if (day == 0)
            break;
    }
    return day;
}

QDate monthEndDay(QDate date, int daysOff)
{
    QDate day(date.year(), date.month(), date.daysInMonth());
    while (day.day() > 1 && isDayOff(weekdayOf(day), daysOff))
        day = day.addDays(-1);
    return day;
}

bool endsWeek(QDate date, int daysOff)
{
    return weekdayOf(date) == weekEndDay(daysOff);
}

bool endsMonth(QDate date, int daysOff)
{
    return monthEndDay(date, daysOff) == date;
}

bool endsQuarter(QDate date, int daysOff)
{
    return date.month() % 3 == 0 && endsMonth(date, daysOff);
}

bool endsYear(QDate date, int daysOff)
{
    return date.month() == 12 && endsMonth(date, daysOff);
}

} // namespace period
