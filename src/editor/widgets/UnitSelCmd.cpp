#include "UnitSelCmd.h"

#include "DialogParts.h"
#include "FormBuilders.h"
#include "LocalizeForm.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pelvo {

using namespace zentavo::forms;

TFormSelCmd::TFormSelCmd(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSelCmd"));
    setWindowTitle(QStringLiteral("Command"));
    auto *layout = new QVBoxLayout(this);
    GroupBoxCmd = groupBox(this, "GroupBoxCmd", QStringLiteral("Select command type"));
    auto *kinds = new QVBoxLayout(GroupBoxCmd);
    RadioButtonExt = radioButton(GroupBoxCmd, "RadioButtonExt", QStringLiteral("External"));
    RadioButtonCopy = radioButton(GroupBoxCmd, "RadioButtonCopy", QStringLiteral("Copy"));
    RadioButtonDel = radioButton(GroupBoxCmd, "RadioButtonDel", QStringLiteral("Delete"));
    RadioButtonRen = radioButton(GroupBoxCmd, "RadioButtonRen", QStringLiteral("Rename/Move"));
    for (QRadioButton *radio : {RadioButtonExt, RadioButtonCopy, RadioButtonDel, RadioButtonRen})
        kinds->addWidget(radio);
    RadioButtonExt->setChecked(true);
    layout->addWidget(GroupBoxCmd);
    const dialogs::OkCancel buttons = dialogs::addOkCancel(*this, *layout);
    ButtonOk = buttons.ok;
    ButtonCancel = buttons.cancel;
    zentavo::LocalizeForm(this);
}

} // namespace pelvo
