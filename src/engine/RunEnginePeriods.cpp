// Copies of a job's archive at the end of a year, quarter, month or week:
// on a day that ends several periods only the longest period's copies are
// made, and a shorter kind is tried only when the longer one copied nothing.
#include "RunEngine.h"

#include "Common.h"
#include "ConstStr.h"
#include "PeriodEnd.h"
#include "ReportLines.h"
#include "RunFlags.h"

using namespace zentavo;

void TRunEngine::copyAtPeriodEnd(TBlock &block)
{
    if (!CopyYear(block) && !CopyQuarter(block) && !CopyMonth(block))
        CopyWeek(block);
}

bool TRunEngine::CopyYear(TBlock &block)
{
    const QDate day = runDay();
    return copyPeriod(block, block.YearCopies, period::endsYear(day, m_settings.TabSheetOptions),
                      QString::number(day.year()) + u' ' + sEndYear);
}

bool TRunEngine::CopyQuarter(TBlock &block)
{
    const QDate day = runDay();
    return copyPeriod(block, block.QuarterCopies, period::endsQuarter(day, m_settings.TabSheetOptions),
                      QString::number(day.month() / 3) + u' ' + sEndQuart);
}

bool TRunEngine::CopyMonth(TBlock &block)
{
    const QDate day = runDay();
    return copyPeriod(block, block.MonthCopies, period::endsMonth(day, m_settings.TabSheetOptions),
                      QString::number(day.month()) + u' ' + sEndMonth);
}

bool TRunEngine::CopyWeek(TBlock &block)
{
    const QDate day = runDay();
    return copyPeriod(block, block.WeekCopies, period::endsWeek(day, m_settings.TabSheetOptions),
                      QString::number(day.weekNumber()) + u' ' + sEndWeek);
}

bool TRunEngine::copyPeriod(TBlock &block, TStringListMy &targets, bool periodEnds, const QString &header)
{
    if (!periodEnds)
        return false;
    bool copied = false;
    bool deleteArchive = false;
    for (qsizetype i = 0; i < targets.size(); ++i) {
        addTimed(sEnd + u' ' + header);
        const QString target = ExpandDateMacros(targets.NameAt(i), m_context.StartTime);
        const QString flag = targets.ValueAt(i);
        targets[i] = target + u'=' + flag;
        AddRep(m_archiveTarget + u' ' + sIn + u' ' + target);
        if (CopyFiles(m_archiveTarget, target, false, nullptr, fileScope())) {
            copied = true;
            AddRep(sRes.at(StatusOk));
            deleteArchive = deleteArchive || flag == QStringLiteral("1");
        } else {
            if (m_flags.Terminated)
                return copied;
            AddRep(sRes.at(StatusError));
            raise(block, StatusError);
        }
    }
    if (deleteArchive) {
        addTimed(sDelete + u' ' + m_archiveTarget);
        AddRep(DeleteFiles(m_archiveTarget, false, nullptr, fileScope()) ? sRes.at(StatusOk) : sRes.at(StatusError));
    }
    return copied;
}
