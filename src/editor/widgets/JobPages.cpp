#include "JobPages.h"

#include "editor/widgets/ArchivePage.h"
#include "editor/widgets/CommandsPage.h"
#include "editor/widgets/CopiesPage.h"
#include "editor/widgets/DayGroup.h"
#include "editor/widgets/ExtCopiesPage.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

namespace pelvo {

TJobPages::TJobPages(PageContext &context, TFormSource &sourceDialog, TFormSelCmd &kindDialog, TFormCopy &pathsDialog,
                     QWidget *parent)
    : QTabWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("PageControl"));
    Archive = new ArchivePage(context, sourceDialog, this);
    Copies = new CopiesPage(context, this);
    ExtCopies = new ExtCopiesPage(context, this);
    Commands = new CommandsPage(context, kindDialog, pathsDialog, this);
    addTab(Archive, QStringLiteral("Archive"));
    addTab(Copies, QStringLiteral("Copies"));
    addTab(ExtCopies, QStringLiteral("Additional copies"));
    addTab(Commands, QStringLiteral("Commands"));

    PopupMenuListDest = new QMenu(this);
    PopupMenuListDest->setObjectName(QStringLiteral("PopupMenuListDest"));
    PopupDestAdd = PopupMenuListDest->addAction(QStringLiteral("Add"));
    PopupDestAdd->setObjectName(QStringLiteral("PopupDestAdd"));
    PopupDestDel = PopupMenuListDest->addAction(QStringLiteral("Delete"));
    PopupDestDel->setObjectName(QStringLiteral("PopupDestDel"));
    connect(PopupDestAdd, &QAction::triggered, this, [this] {
        if (ListPage *page = listPageShown())
            page->AddClick();
    });
    connect(PopupDestDel, &QAction::triggered, this, [this] {
        if (ListPage *page = listPageShown(); page && page->CanDelete())
            page->DelClick();
    });
    for (ListPage *page : listPages())
        page->SetPopup(PopupMenuListDest, PopupDestDel);
}

std::array<ListPage *, 3> TJobPages::listPages() const
{
    return {Copies, ExtCopies, Commands};
}

ListPage *TJobPages::listPageShown() const
{
    return qobject_cast<ListPage *>(currentWidget());
}

void TJobPages::ShowJob()
{
    Archive->Show();
    for (ListPage *page : listPages())
        page->Show();
}

void TJobPages::SetJobEnabled(bool enabled)
{
    Archive->SetJobEnabled(enabled);
    for (ListPage *page : listPages())
        page->SetJobEnabled(enabled);
}

bool TJobPages::EditsModified() const
{
    return Archive->EditsModified();
}

void TJobPages::ClearEditMarks()
{
    Archive->ClearEditMarks();
}

QString TJobPages::ShowMissing(MissingField field)
{
    setCurrentWidget(Archive);
    if (field == MissingField::ArchiveName) {
        Archive->EditArch->setFocus();
        return Archive->GroupBoxArch->title();
    }
    Archive->StringGridArch->setFocus();
    return Archive->GroupBoxSource->title();
}

QString TJobPages::ShowPlace(JobPlace place, int line)
{
    QWidget *page = Archive;
    QTableWidget *grid = nullptr;
    QWidget *field = nullptr;
    switch (place) {
    case JobPlace::Name: return {};
    case JobPlace::ArchiveName: field = Archive->EditArch; break;
    case JobPlace::Comment: field = Archive->EditZ; break;
    case JobPlace::Source:
    case JobPlace::Exclusions: grid = Archive->StringGridArch; break;
    case JobPlace::Destination:
        page = Copies;
        grid = Copies->StringGridCopies;
        break;
    case JobPlace::ExtraCopy:
        page = ExtCopies;
        grid = ExtCopies->StringGridACopies;
        break;
    case JobPlace::Command:
        page = Commands;
        grid = Commands->StringGridComs;
        break;
    }
    setCurrentWidget(page);
    const QString where = QStringLiteral("page \"%1\"").arg(tabText(indexOf(page)).remove(u'&'));
    if (!grid) {
        field->setFocus();
        return where;
    }
    grid->setCurrentCell(line, 0);
    grid->setFocus();
    return where + QStringLiteral(", line %1").arg(line + 1);
}

void TJobPages::TakeSharedCaptions()
{
    for (QPushButton *browse : {Copies->ButtonDest, ExtCopies->ButtonDestExt, Commands->ButtonCmd})
        browse->setText(Archive->ButtonBrowse->text());
    DayGroup &copyDays = *Copies->GroupBoxDestDay;
    DayGroup &commandDays = *Commands->GroupBoxCmdDay;
    for (std::size_t day = 0; day < copyDays.DayOfWeek.size(); ++day)
        commandDays.DayOfWeek[day]->setText(copyDays.DayOfWeek[day]->text());
    commandDays.EveryDay->setText(copyDays.EveryDay->text());
    commandDays.setTitle(copyDays.title());
    ExtCopies->LabelDestExt->setText(Copies->LabelDest->text());
    ExtCopies->GroupBoxERegime->setTitle(Copies->GroupBoxRegime->title());
    for (QPushButton *add : {Copies->BitBtnAddDest, ExtCopies->BitBtnAddDestExt, Commands->BitBtnAddCmd})
        add->setToolTip(Archive->BitBtnAdd->toolTip());
    for (QPushButton *remove : {Copies->BitBtnDelDest, ExtCopies->BitBtnDelDestExt, Commands->BitBtnDelCmd})
        remove->setToolTip(Archive->BitBtnDel->toolTip());
    Archive->PopupSourceAdd->setText(Archive->BitBtnAdd->toolTip());
    Archive->PopupSourceEdit->setText(Archive->BitBtnEdit->toolTip());
    Archive->PopupSourceDel->setText(Archive->BitBtnDel->toolTip());
    PopupDestAdd->setText(Archive->BitBtnAdd->toolTip());
    PopupDestDel->setText(Archive->BitBtnDel->toolTip());
    Commands->StringGridComs->horizontalHeaderItem(2)->setText(Commands->GroupBoxCRegime->title().left(3));
}

void TJobPages::FocusArchiveName()
{
    setCurrentWidget(Archive);
    Archive->EditArch->setFocus();
}

} // namespace pelvo
