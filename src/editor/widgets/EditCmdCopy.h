#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pelvo {

// Asks for the paths of a copy, delete or rename/move command. The caller
// sets the title, both fields and whether To is wanted (not for delete),
// recomputes the Ok state and reads both fields after Ok.
class TFormCopy final : public QDialog {
    Q_OBJECT
public:
    explicit TFormCopy(QWidget *parent = nullptr);

    // Ok once From is given and To is given or not wanted.
    void EditFromChange();
    void ButtonBrowseClick();
    // To keeps only the folder of the chosen file.
    void ButtonToClick();
    // Enables or disables To with its browse button.
    void SetToWanted(bool wanted);

    QLabel *LabelFrom = nullptr;
    QLineEdit *EditFrom = nullptr;
    QLabel *LabelTo = nullptr;
    QLineEdit *EditTo = nullptr;
    QPushButton *ButtonBrowse = nullptr;
    QPushButton *ButtonTo = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};

} // namespace pelvo
