// Copies of a job's archive at the end of a year, quarter, month or week:
// on a day that ends several periods only the longest period's copies are
// made, and a shorter kind is tried only when the longer one copied nothing.
#include "engine/RunEngine.h"

#include "engine/PeriodEnd.h"
#include "engine/RunRequests.h"
#include "report/ReportLines.h"
#include "shared/Common.h"
#include "shared/ConstStr.h"

using namespace zentavo;

namespace {

// One kind of period end: the job's copies for it, whether the day ends such
// a period, and the header that names the period.
struct PeriodEndKind {
    TStringListMy TBlock::*copies;
    bool (*ends)(QDate day, int daysOff);
    QString (*header)(QDate day);
};

// Longest first: the order in which the kinds are tried.
const PeriodEndKind periodEndKinds[] = {
    {&TBlock::YearCopies, &period::endsYear, [](QDate day) { return QString::number(day.year()) + u' ' + sEndYear; }},
    {&TBlock::QuarterCopies, &period::endsQuarter,
     [](QDate day) { return QString::number(day.month() / 3) + u' ' + sEndQuart; }},
    {&TBlock::MonthCopies, &period::endsMonth,
     [](QDate day) { return QString::number(day.month()) + u' ' + sEndMonth; }},
    {&TBlock::WeekCopies, &period::endsWeek,
     [](QDate day) { return QString::number(day.weekNumber()) + u' ' + sEndWeek; }},
};

} // namespace

void TRunEngine::copyAtPeriodEnd(TBlock &block)
{
    const QDate day = runDay();
    for (const PeriodEndKind &kind : periodEndKinds) {
        if (copyPeriod(block, block.*kind.copies, kind.ends(day, m_settings.TabSheetOptions), kind.header(day)))
            return;
    }
}

bool TRunEngine::copyPeriod(TBlock &block, TStringListMy &targets, bool periodEnds, const QString &header)
{
    if (!periodEnds)
        return false;
    bool copied = false;
    bool deleteArchive = false;
    bool anyFailed = false;
    for (qsizetype i = 0; i < targets.size(); ++i) {
        addTimed(sEnd + u' ' + header);
        const QString target = ExpandDateMacros(targets.NameAt(i), m_context.StartTime);
        const QString flag = targets.ValueAt(i);
        targets[i] = target + u'=' + flag;
        AddRep(m_archive.Shown() + u' ' + sIn + u' ' + target);
        if (m_archive.CopyTo(target, fileScope())) {
            copied = true;
            AddRep(sRes.at(StatusOk));
            deleteArchive = deleteArchive || flag == QStringLiteral("1");
        } else {
            if (m_requests.Terminated())
                return copied;
            AddRep(sRes.at(StatusError));
            raise(block, StatusError);
            anyFailed = true;
        }
    }
    // The archive goes only when every copy of its kind is complete.
    if (deleteArchive && !anyFailed) {
        addTimed(sDelete + u' ' + m_archive.Shown());
        AddRep(m_archive.Delete(fileScope()) ? sRes.at(StatusOk) : sRes.at(StatusError));
    }
    return copied;
}
