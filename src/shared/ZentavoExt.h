#pragma once

#include "shared/StringListMy.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <vector>

namespace zentavo {

// Index of TBlock::GetStr / SetStr.
enum StrIndex { ArchiveName = 1, Comment = 2, Title = 3 };
// Index of TBlock::GetFlag / SetFlag.
enum FlagIndex { Enabled = 1, Status = 2 };

// Run status of a job; a status is raised during a run and never lowered.
enum JobStatus : quint8 { StatusOk = 0, StatusError = 1, StatusFatal = 2 };

// One job of the main program, in the shape the run needs it.
class TBlock {
public:
    QString GetStr(int index) const;
    void SetStr(int index, const QString &value);
    quint8 GetFlag(int index) const;
    void SetFlag(int index, quint8 value);

    TStringListMy CmdBefore;  // command=days, run before archiving
    TStringListMy CmdAfter;   // command=days, run after archiving
    TStringListMy Dests;      // folder=days of the daily copy, folder ending in a separator
    TStringListMy Sources;    // a file, a folder or a mask per line
    TStringListMy Exclusions; // line i: the "|"-separated masks of source i
    TStringListMy WeekCopies; // folder=flag; flag 1 deletes the archive after the copy
    TStringListMy MonthCopies;
    TStringListMy QuarterCopies;
    TStringListMy YearCopies;

private:
    std::array<QString, 3> m_str;
    std::array<quint8, 2> m_flag{1, StatusOk};
};

// The whole job file; a run works on a copy of it taken at its start.
using TBlocks = std::vector<TBlock>;

// The weekday number of a date as days values write it: 0 Sunday to 6 Saturday.
int WeekDayNumber(const QDate &date);

// True when the days value is empty (every day) or holds the digit of the
// day's weekday (a run passes its start).
bool IsDayInList(const QString &days, const QDate &day);

// The text with the first occurrence of each date macro replaced from the
// time: "*Y" year, "*y" two-digit year, "*M" month, "*D" day, "*h" hour,
// "*m" minute, "*s" second, "*W" weekday digit (0 Sunday). A run passes its
// start, so that every name of one run refers to the same moment.
QString ExpandDateMacros(const QString &text, const QDateTime &time);

// The kinds of period-end copies, as the copy lists number them.
enum PeriodKind { PeriodWeek = 1, PeriodMonth = 2, PeriodQuarter = 3, PeriodYear = 4 };

// The text with its first "?" replaced by the period of the kind: the ISO
// week number or the month (two digits), the quarter (one digit) or the
// two-digit year; unchanged for any other kind.
QString ExpandPeriodMark(const QString &text, int kind, const QDateTime &time);

} // namespace zentavo
