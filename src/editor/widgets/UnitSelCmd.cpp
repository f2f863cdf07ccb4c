#include "UnitSelCmd.h"

#include "editor/widgets/DialogParts.h"
#include "shared/widgets/FormBuilders.h"
#include "shared/widgets/LocalizeForm.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pelvo {

using namespace zentavo::forms;

std::tuple<QRadioButton *, QRadioButton *, QRadioButton *, QRadioButton *> addCommandKinds(QGroupBox &group,
                                                                                           QVBoxLayout &layout)
{
    const std::tuple<QRadioButton *, QRadioButton *, QRadioButton *, QRadioButton *> kinds{
        radioButton(&group, "RadioButtonExt", QStringLiteral("External")),
        radioButton(&group, "RadioButtonCopy", QStringLiteral("Copy")),
        radioButton(&group, "RadioButtonDel", QStringLiteral("Delete")),
        radioButton(&group, "RadioButtonRen", QStringLiteral("Rename/Move"))};
    std::apply([&layout](auto... radio) { (layout.addWidget(radio), ...); }, kinds);
    std::get<0>(kinds)->setChecked(true);
    return kinds;
}

TFormSelCmd::TFormSelCmd(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSelCmd"));
    setWindowTitle(QStringLiteral("Command"));
    auto *layout = new QVBoxLayout(this);
    GroupBoxCmd = groupBox(this, "GroupBoxCmd", QStringLiteral("Select command type"));
    auto *kinds = new QVBoxLayout(GroupBoxCmd);
    std::tie(RadioButtonExt, RadioButtonCopy, RadioButtonDel, RadioButtonRen) = addCommandKinds(*GroupBoxCmd, *kinds);
    layout->addWidget(GroupBoxCmd);
    const dialogs::OkCancel buttons = dialogs::addOkCancel(*this, *layout);
    ButtonOk = buttons.ok;
    ButtonCancel = buttons.cancel;
    zentavo::LocalizeForm(this);
}

} // namespace pelvo
