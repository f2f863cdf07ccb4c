#include "JobPages.h"

#include "ArchivePage.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QTableWidget>

namespace pelvo {

TJobPages::TJobPages(PageContext &context, TFormSource &sourceDialog, QWidget *parent)
    : QTabWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("PageControl"));
    Archive = new ArchivePage(context, sourceDialog, this);
    addTab(Archive, QStringLiteral("Archive"));
}

void TJobPages::ShowJob()
{
    m_context.FormFilled = false;
    Archive->Show();
    m_context.FormFilled = true;
}

void TJobPages::SetJobEnabled(bool enabled)
{
    Archive->SetJobEnabled(enabled);
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

void TJobPages::FocusArchiveName()
{
    setCurrentWidget(Archive);
    Archive->EditArch->setFocus();
}

} // namespace pelvo
