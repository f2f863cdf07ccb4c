#include "ZentavoExt.h"

#include <QDate>
#include <QTime>
#include <QtGlobal>

#include <utility>

namespace zentavo {

QString TBlock::GetStr(int index) const
{
    Q_ASSERT(index >= ArchiveName && index <= Title);
    return m_str.at(index - 1);
}

void TBlock::SetStr(int index, const QString &value)
{
    Q_ASSERT(index >= ArchiveName && index <= Title);
    m_str.at(index - 1) = value;
}

quint8 TBlock::GetFlag(int index) const
{
    Q_ASSERT(index >= Enabled && index <= Status);
    return m_flag.at(index - 1);
}

void TBlock::SetFlag(int index, quint8 value)
{
    Q_ASSERT(index >= Enabled && index <= Status);
    m_flag.at(index - 1) = value;
}

namespace {

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// Characters 3 and 4 of the year's decimal text.
QString twoDigitYear(int year)
{
    return QString::number(year).mid(2, 2);
}

} // namespace

int WeekDayNumber(const QDate &date)
{
    // Qt counts Monday 1 to Sunday 7.
    return date.dayOfWeek() % 7;
}

bool IsDayInList(const QString &days, const QDate &day)
{
    return days.isEmpty() || days.contains(QString::number(WeekDayNumber(day)));
}

QString ExpandDateMacros(const QString &text, const QDateTime &time)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    const std::pair<QStringView, QString> macros[] = {
        {u"*Y", QString::number(date.year())}, {u"*y", twoDigitYear(date.year())},
        {u"*M", twoDigits(date.month())},      {u"*D", twoDigits(date.day())},
        {u"*h", twoDigits(clock.hour())},      {u"*m", twoDigits(clock.minute())},
        {u"*s", twoDigits(clock.second())},    {u"*W", QString::number(WeekDayNumber(date))},
    };
    QString result = text;
    for (const auto &[macro, value] : macros) {
        const qsizetype position = result.indexOf(macro);
        if (position >= 0)
            result.replace(position, macro.size(), value);
    }
    return result;
}

QString ExpandPeriodMark(const QString &text, int kind, const QDateTime &time)
{
    const qsizetype mark = text.indexOf(u'?');
    if (mark < 0)
        return text;
    const QDate date = time.date();
    QString value;
    switch (kind) {
    case PeriodWeek: value = twoDigits(date.weekNumber()); break;
    case PeriodMonth: value = twoDigits(date.month()); break;
    case PeriodQuarter: value = QString::number(1 + (date.month() - 1) / 3); break;
    case PeriodYear: value = twoDigitYear(date.year()); break;
    default: return text;
    }
    QString result = text;
    result.replace(mark, 1, value);
    return result;
}

} // namespace zentavo
