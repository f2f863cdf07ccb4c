#pragma once

#include "settings/VorrinControls.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

// When the scheduler starts the main program: the decisions of its timer
// tick and of its own start, over the saved schedule and the scheduler's
// state, with no clock and no process of their own so that any day and
// time can be tried.
namespace zentavo {

// The time of a start-time entry "HH:MM"; nothing when it is no time of day.
std::optional<QTime> ScheduleTime(const QString &entry);

// True when one entry of the start times names the hour and minute of time.
// An entry that is no time is passed over, so one damaged entry does not
// silence the ones after it.
bool IsRunTime(const QTime &time, const QStringList &scheduleTimes);

// True when the day of the month is one of the two-digit day numbers joined
// in monthDays ("0115" for the 1st and the 15th).
bool IsRunDay(const QDate &date, const QString &monthDays);

// True when the schedule lets the timer start a run on this date: the week
// day of a weekly schedule, a month day of a monthly one, and in daily mode
// any day but a day off when days off are excepted. Never in "On startup"
// mode, whose only run is the one at the scheduler's start.
bool IsScheduledDay(const QDate &date, const TVorrinCopies &copies);

// What the tick needs to know of the scheduler.
struct ScheduleState {
    // A started run has not reported its end yet.
    bool RunActive = false;
    // The minute in which the timer last tried a start; invalid for none.
    // A run that ended within that minute must not be started again by the
    // second tick of the same minute.
    QDateTime LastStartMinute;
    // The minute whose start a run under way last held back; invalid for
    // none. The second tick of that minute holds back nothing new.
    QDateTime LastHeldBackMinute;
};

// The minute the tick falls in: the tick moved back to its minute's start
// along the time line, so that the two passes of the hour that the autumn
// clock change repeats are two minutes, as they are two ticks of the
// schedule's hour and minute.
QDateTime StartMinute(const QDateTime &tick);

// What the timer tick at this time does about a scheduled start.
enum class ScheduledStart {
    None,     // no start is scheduled now, or this minute's was seen to
    Due,      // start the main program
    HeldBack, // a start is scheduled, but a run that has not ended holds it back
};
ScheduledStart ScheduledStartAt(const QDateTime &tick, const TVorrinCopies &copies, const ScheduleState &state);

// "LastRun" as the scheduler stores it: the date in ISO form.
QString LastRunText(const QDate &date);

// True when the stored "LastRun" names the date: the ISO form, or the user's
// short date form that older releases stored cut to 10 characters.
bool IsLastRunOn(const QString &lastRun, const QDate &date);

// True when the scheduler's start runs the main program: "On startup" mode,
// and once per day only when the last start was on another day. runOnce is
// the stored "Once per day"; nothing (not readable) means no start-up run.
bool IsStartupRunDue(const QDate &today, int scheduleCode, std::optional<int> runOnce, const QString &lastRun);

} // namespace zentavo
