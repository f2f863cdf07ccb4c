#include "EditCmdCopy.h"

#include "editor/widgets/DialogParts.h"
#include "platform/Paths.h"
#include "shared/widgets/FormBuilders.h"
#include "shared/widgets/LocalizeForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelvo {

using namespace zentavo::forms;

TFormCopy::TFormCopy(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormCopy"));
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    LabelFrom = label(this, "LabelFrom", QStringLiteral("From"));
    EditFrom = lineEdit(this, "EditFrom");
    ButtonBrowse = pushButton(this, "ButtonBrowse", QStringLiteral("Browse"));
    LabelTo = label(this, "LabelTo", QStringLiteral("To"));
    EditTo = lineEdit(this, "EditTo");
    ButtonTo = pushButton(this, "ButtonTo", QStringLiteral("Browse"));
    EditFrom->setMinimumWidth(360);
    LabelFrom->setBuddy(EditFrom);
    LabelTo->setBuddy(EditTo);
    grid->addWidget(LabelFrom, 0, 0);
    grid->addWidget(EditFrom, 0, 1);
    grid->addWidget(ButtonBrowse, 0, 2);
    grid->addWidget(LabelTo, 1, 0);
    grid->addWidget(EditTo, 1, 1);
    grid->addWidget(ButtonTo, 1, 2);
    layout->addLayout(grid);
    const dialogs::OkCancel buttons = dialogs::addOkCancel(*this, *layout);
    ButtonOk = buttons.ok;
    ButtonCancel = buttons.cancel;
    ButtonBrowse->setAutoDefault(false);
    ButtonTo->setAutoDefault(false);

    connect(EditFrom, &QLineEdit::textChanged, this, &TFormCopy::EditFromChange);
    connect(EditTo, &QLineEdit::textChanged, this, &TFormCopy::EditFromChange);
    connect(ButtonBrowse, &QPushButton::clicked, this, &TFormCopy::ButtonBrowseClick);
    connect(ButtonTo, &QPushButton::clicked, this, &TFormCopy::ButtonToClick);
    zentavo::LocalizeForm(this);
    ButtonTo->setText(ButtonBrowse->text());
    EditFromChange();
}

void TFormCopy::EditFromChange()
{
    ButtonOk->setEnabled(!EditFrom->text().isEmpty() && (!EditTo->text().isEmpty() || !EditTo->isEnabled()));
}

void TFormCopy::SetToWanted(bool wanted)
{
    EditTo->setEnabled(wanted);
    ButtonTo->setEnabled(wanted);
    LabelTo->setEnabled(wanted);
    EditFromChange();
}

void TFormCopy::ButtonBrowseClick()
{
    if (const std::optional<QString> chosen = dialogs::pickFile(windowTitle(), EditFrom->text()))
        EditFrom->setText(*chosen);
}

void TFormCopy::ButtonToClick()
{
    if (const std::optional<QString> chosen = dialogs::pickFile(windowTitle(), EditTo->text()))
        EditTo->setText(platform::folderPart(*chosen));
}

void TFormCopy::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    EditFrom->setFocus();
}

} // namespace pelvo
