#include "CopiesPage.h"

#include "ConstStr.h"
#include "DayGroup.h"
#include "FormBuilders.h"
#include "PageContext.h"
#include "PageTexts.h"
#include "PathPicker.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pelvo {

using namespace zentavo::forms;

CopiesPage::CopiesPage(PageContext &context, QWidget *parent)
    : ListPage(context, parent)
{
    setObjectName(QStringLiteral("TabSheetCopies"));
    auto *layout = new QGridLayout(this);
    StringGridCopies = makeGrid("StringGridCopies", {QStringLiteral("Copy to"), QStringLiteral("Days")});
    StringGridCopies->setColumnWidth(0, 420);
    BitBtnAddDest = makeAddButton("BitBtnAddDest");
    BitBtnDelDest = makeDelButton("BitBtnDelDest");
    layout->addWidget(StringGridCopies, 0, 0, 2, 2);
    layout->addWidget(BitBtnAddDest, 0, 2);
    layout->addWidget(BitBtnDelDest, 1, 2, Qt::AlignTop);

    const PathControls path = makePathRow("LabelDest", "EditDest", "ButtonDest", QStringLiteral("Copy to"));
    LabelDest = path.label;
    EditDest = path.edit;
    ButtonDest = path.browse;
    auto *destRow = new QHBoxLayout;
    destRow->addWidget(LabelDest);
    destRow->addWidget(EditDest, 1);
    destRow->addWidget(ButtonDest);
    layout->addLayout(destRow, 2, 0, 1, 3);

    GroupBoxRegime = groupBox(this, "GroupBoxRegime", QStringLiteral("Regime"));
    auto *regime = new QVBoxLayout(GroupBoxRegime);
    RadioButtonReg1 = radioButton(GroupBoxRegime, "RadioButtonReg1", QStringLiteral("Daily"));
    RadioButtonReg2 = radioButton(GroupBoxRegime, "RadioButtonReg2", QStringLiteral("Even/Uneven"));
    regime->addWidget(RadioButtonReg1);
    regime->addWidget(RadioButtonReg2);
    regime->addStretch();
    layout->addWidget(GroupBoxRegime, 3, 0);
    GroupBoxDestDay = new DayGroup(this, "GroupBoxDestDay", "DayOfWeek", "CheckBoxEveryDay");
    layout->addWidget(GroupBoxDestDay, 3, 1, 1, 2);
    layout->setColumnStretch(1, 1);

    connect(StringGridCopies, &QTableWidget::currentCellChanged, this, &CopiesPage::StringGridCopiesClick);
    connect(EditDest, &QLineEdit::textChanged, this, &CopiesPage::EditDestChange);
    connect(GroupBoxDestDay, &DayGroup::changed, this, &CopiesPage::CheckBoxClick);
    connect(RadioButtonReg1, &QRadioButton::clicked, this, &CopiesPage::RadioButtonReg1Click);
    connect(RadioButtonReg2, &QRadioButton::clicked, this, &CopiesPage::RadioButtonReg2Click);
    connect(ButtonDest, &QPushButton::clicked, this, &CopiesPage::ButtonDestClick);
    for (QWidget *control : std::initializer_list<QWidget *>{StringGridCopies, BitBtnAddDest, BitBtnDelDest, EditDest,
                                                             ButtonDest, RadioButtonReg1, RadioButtonReg2})
        m_context.watchKeys(control);
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

void CopiesPage::Show()
{
    fill(0);
    StringGridCopiesClick();
}

void CopiesPage::SetJobEnabled(bool enabled)
{
    StringGridCopies->setEnabled(enabled);
    BitBtnAddDest->setEnabled(enabled);
    StringGridCopiesClick();
}

void CopiesPage::StringGridCopiesClick()
{
    const TBlock *job = block();
    const int row = Row();
    const bool have = job && row >= 0 && StringGridCopies->isEnabled();
    BitBtnDelDest->setEnabled(have);
    for (QWidget *control : std::initializer_list<QWidget *>{EditDest, ButtonDest, RadioButtonReg1, RadioButtonReg2})
        control->setEnabled(have);
    GroupBoxDestDay->SetUsable(have);
    filling([&] {
        if (!have) {
            EditDest->clear();
            return;
        }
        EditDest->setText(job->Dests.NameAt(row));
        // Days from a hand-made file that name no week day stay as they are until a box is clicked.
        GroupBoxDestDay->ShowDays(job->Dests.ValueAt(row));
        GroupBoxDestDay->SetUsable(true);
        const bool even = EditDest->text().contains(u'?');
        RadioButtonReg2->setChecked(even);
        RadioButtonReg1->setChecked(!even);
    });
}

void CopiesPage::EditDestChange()
{
    TBlock *job = block();
    const int row = Row();
    if (!job || row < 0 || RefuseLineBreaker(EditDest))
        return;
    const QString text = EditDest->text();
    const bool even = text.contains(u'?');
    RadioButtonReg2->setChecked(even);
    RadioButtonReg1->setChecked(!even);
    job->Dests[row] = text + u'=' + job->Dests.ValueAt(row);
    setCell(row, 0, text);
    m_context.changed();
}

void CopiesPage::CheckBoxClick()
{
    TBlock *job = block();
    const int row = Row();
    if (!job || row < 0)
        return;
    const QString days = GroupBoxDestDay->Days();
    job->Dests[row] = job->Dests.NameAt(row) + u'=' + days;
    setCell(row, 1, DaysText(days, GroupBoxDestDay->EveryDay->text()));
    m_context.changed();
}

void CopiesPage::RadioButtonReg1Click()
{
    EditDest->setText(WithoutEvenMark(EditDest->text()));
}

void CopiesPage::RadioButtonReg2Click()
{
    EditDest->setText(WithEvenMark(EditDest->text()));
}

bool CopiesPage::ButtonDestClick()
{
    const std::optional<QString> folder = PickCopyFolder(EditDest->text());
    if (folder)
        EditDest->setText(*folder);
    return folder.has_value();
}

void CopiesPage::AddClick()
{
    if (TBlock *job = block())
        addFolderLine(job->Dests, QString(), EditDest);
}

void CopiesPage::DelClick(bool ask)
{
    if (TBlock *job = block())
        deleteLine(job->Dests, ask, zentavo::sQuestionDelCopy);
}

} // namespace pelvo
