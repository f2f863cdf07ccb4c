#pragma once

#include <QDialog>

#include <tuple>

class QGroupBox;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace pelvo {

// The radios of the command kinds (external, copy, delete, rename/move) in
// the group, added to its layout, the external one checked.
std::tuple<QRadioButton *, QRadioButton *, QRadioButton *, QRadioButton *> addCommandKinds(QGroupBox &group,
                                                                                           QVBoxLayout &layout);

// Asks for the kind of a new command. The radio left checked stays checked
// for the next showing.
class TFormSelCmd final : public QDialog {
    Q_OBJECT
public:
    explicit TFormSelCmd(QWidget *parent = nullptr);

    QGroupBox *GroupBoxCmd = nullptr;
    QRadioButton *RadioButtonExt = nullptr;
    QRadioButton *RadioButtonCopy = nullptr;
    QRadioButton *RadioButtonDel = nullptr;
    QRadioButton *RadioButtonRen = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;
};

} // namespace pelvo
