#include "ReportLineClass.h"

#include "report/ReportLines.h"
#include "shared/ConstStr.h"

#include <initializer_list>

namespace report {

namespace {

using zentavo::LineHasText;
using zentavo::LineStartsWithText;

bool IsRunBoundary(QStringView line)
{
    return LineHasText(line, zentavo::sBeginProcess) || LineHasText(line, zentavo::sEndProcess);
}

bool IsErrorLine(QStringView line)
{
    for (const QString *text : {&zentavo::sCopyError, &zentavo::sDeleteError, &zentavo::sRemoveError,
                                &zentavo::sCreateFolderError, &zentavo::sArchiveError, &zentavo::sRes[1],
                                &zentavo::sRes[2], &zentavo::sUserBroke, &zentavo::sSourceNotFount}) {
        if (LineHasText(line, *text))
            return true;
    }
    return false;
}

} // namespace

RowKind RowKindOf(QStringView line)
{
    if (IsRunBoundary(line) || LineStartsWithText(line, zentavo::sReport))
        return RowKind::Header;
    if (LineStartsWithText(line, zentavo::sJob))
        return RowKind::Job;
    return RowKind::Other;
}

LineIcon LineIconOf(QStringView line)
{
    if (line.isEmpty() || IsRunBoundary(line) || line == Separator)
        return LineIcon::None;
    if (LineStartsWithText(line, zentavo::sJob))
        return LineIcon::Job;
    if (IsErrorLine(line))
        return LineIcon::Error;
    if (LineStartsWithText(line, zentavo::sRes[0]))
        return LineIcon::Ok;
    return LineIcon::Other;
}

bool IsBandedRow(int row, bool selected)
{
    return row % 2 == 1 && !selected;
}

bool NeedsLineHint(int textWidth, int itemRight)
{
    return textWidth > itemRight - 2;
}

bool IsBoldPrintLine(QStringView line)
{
    return LineStartsWithText(line, zentavo::sRes[1]) || LineStartsWithText(line, zentavo::sRes[2])
        || LineHasText(line, zentavo::sSourceNotFount);
}

} // namespace report
