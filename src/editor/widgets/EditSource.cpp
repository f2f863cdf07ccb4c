#include "EditSource.h"

#include "editor/widgets/DialogParts.h"
#include "shared/widgets/FormBuilders.h"
#include "shared/widgets/LocalizeForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelvo {

using namespace zentavo::forms;

TFormSource::TFormSource(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSource"));
    setWindowTitle(QStringLiteral("Addition of files for archiving"));
    auto *layout = new QVBoxLayout(this);
    LabelInfo = label(this, "LabelInfo", QStringLiteral("Select files (folders) for archiving"));
    layout->addWidget(LabelInfo);
    auto *row = new QHBoxLayout;
    EditWhat = lineEdit(this, "EditWhat");
    EditWhat->setMinimumWidth(360);
    ButtonBrowse = pushButton(this, "ButtonBrowse", QStringLiteral("Browse"));
    ButtonBrowse->setAutoDefault(false);
    row->addWidget(EditWhat);
    row->addWidget(ButtonBrowse);
    layout->addLayout(row);
    const dialogs::OkCancel buttons = dialogs::addOkCancel(*this, *layout);
    ButtonOk = buttons.ok;
    ButtonCancel = buttons.cancel;
    LabelInfo->setBuddy(EditWhat);

    connect(EditWhat, &QLineEdit::textChanged, this, &TFormSource::EditWhatChange);
    // Most sources are folders, some are files: Browse offers both.
    auto *browse = new QMenu(ButtonBrowse);
    BrowseFolder = browse->addAction(QStringLiteral("Folder..."), this, &TFormSource::BrowseFolderClick);
    BrowseFolder->setObjectName(QStringLiteral("BrowseFolder"));
    BrowseFile = browse->addAction(QStringLiteral("File..."), this, &TFormSource::ButtonBrowseClick);
    BrowseFile->setObjectName(QStringLiteral("BrowseFile"));
    ButtonBrowse->setMenu(browse);
    zentavo::LocalizeForm(this);
    EditWhatChange();
}

void TFormSource::EditWhatChange()
{
    ButtonOk->setEnabled(!EditWhat->text().isEmpty());
}

void TFormSource::ButtonBrowseClick()
{
    if (const std::optional<QString> chosen = dialogs::pickFile(windowTitle(), EditWhat->text()))
        EditWhat->setText(*chosen);
}

void TFormSource::BrowseFolderClick()
{
    if (const std::optional<QString> chosen = dialogs::pickFolder(windowTitle(), EditWhat->text()))
        EditWhat->setText(*chosen);
}

} // namespace pelvo
