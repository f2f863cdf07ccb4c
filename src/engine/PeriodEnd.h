#pragma once

#include <QDate>

// Which day closes a week, month, quarter or year, given the days off.
// A period ends on its last working day, so that its copy is made even when
// the machine is off over the weekend. daysOff has bit i set when weekday i
// is a day off (bit 0 Sunday, bit 6 Saturday).
namespace period {

// The weekday (0 Sunday .. 6 Saturday) on which a week ends: Sunday when it
// is a working day, else the last working day counting back from Saturday,
// and Sunday again when every other day is off.
int weekEndDay(int daysOff);

// The last working day of the date's month; the first of the month when
// every day is off.
QDate monthEndDay(QDate date, int daysOff);

bool endsWeek(QDate date, int daysOff);
bool endsMonth(QDate date, int daysOff);
bool endsQuarter(QDate date, int daysOff);
bool endsYear(QDate date, int daysOff);

// 0 Sunday .. 6 Saturday.
int weekdayOf(QDate date);

} // namespace period
