#pragma once

#include <QDialog>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace pelvo {

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
