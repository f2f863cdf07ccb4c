#include "CopiesPage.h"

#include "editor/PageTexts.h"
#include "editor/widgets/DayGroup.h"
#include "editor/widgets/PageContext.h"
#include "shared/ConstStr.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>

namespace pelvo {

CopiesPage::CopiesPage(PageContext &context, QWidget *parent)
    : CopyListPage(context, EditorDocument::Tail::Destinations,
                   {"TabSheetCopies", "StringGridCopies", QStringLiteral("Days"), "BitBtnAddDest", "BitBtnDelDest",
                    "LabelDest", "EditDest", "ButtonDest", "GroupBoxRegime", "RadioButtonReg1", QStringLiteral("Daily"),
                    "RadioButtonReg2", QStringLiteral("Even/Uneven")},
                   parent)
    , StringGridCopies(m_copyGrid)
    , BitBtnAddDest(m_addButton)
    , BitBtnDelDest(m_delButton)
    , LabelDest(m_folderLabel)
    , EditDest(m_folderEdit)
    , ButtonDest(m_browseButton)
    , GroupBoxRegime(m_regimeBox)
    , RadioButtonReg1(m_daily)
    , RadioButtonReg2(m_evenUneven)
{
    GroupBoxDestDay = new DayGroup(this, "GroupBoxDestDay", "DayOfWeek", "CheckBoxEveryDay");
    finishLayout(GroupBoxDestDay);
    connect(GroupBoxDestDay, &DayGroup::changed, this, &CopiesPage::CheckBoxClick);
}

void CopiesPage::fill(int row)
{
    const TBlock *job = block();
    const TStringListMy none;
    const TStringListMy &dests = job ? job->Dests : none;
    const QString everyDay = GroupBoxDestDay->EveryDay->text();
    fillGrid(int(dests.size()), row, [&](int i) {
        return QStringList{dests.NameAt(i), DaysText(dests.ValueAt(i), everyDay)};
    });
}

void CopiesPage::StringGridCopiesClick()
{
    const TBlock *job = block();
    const int row = Row();
    const bool have = job && row >= 0 && StringGridCopies->isEnabled();
    setDetailsEnabled(have);
    GroupBoxDestDay->SetUsable(have);
    const QSignalBlocker quiet(EditDest);
    if (!have) {
        EditDest->clear();
        return;
    }
    EditDest->setText(job->Dests.NameAt(row));
    // Days from a hand-made file that name no week day stay as they are until a box is clicked.
    GroupBoxDestDay->ShowDays(job->Dests.ValueAt(row));
    GroupBoxDestDay->SetUsable(true);
    showRegime(EditDest->text());
}

QString CopiesPage::lineWithFolder(const TBlock &job, int row, const QString &folder) const
{
    return folder + u'=' + job.Dests.ValueAt(row);
}

void CopiesPage::CheckBoxClick()
{
    if (const TBlock *job = block())
        storeDays(job->Dests, *GroupBoxDestDay);
}

void CopiesPage::AddClick()
{
    if (block())
        addFolderLine(QString(), EditDest);
}

void CopiesPage::DelClick()
{
    deleteLine(zentavo::sQuestionDelCopy);
}

} // namespace pelvo
