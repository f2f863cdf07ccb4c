#pragma once

#include "editor/PageTexts.h"
#include "editor/widgets/ListPage.h"

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace pelvo {

class DayGroup;
class TFormCopy;
class TFormSelCmd;

// The Commands page: programs and file commands run before or after
// archiving, each on its days.
class CommandsPage final : public ListPage {
    Q_OBJECT
public:
    CommandsPage(PageContext &context, TFormSelCmd &kindDialog, TFormCopy &pathsDialog, QWidget *parent = nullptr);

    void Show() override;
    void SetJobEnabled(bool enabled) override;
    void AddClick() override;
    void DelClick() override;

    void StringGridComsClick();
    void EditCmdChange();
    void CheckBoxCClick();
    void RadioButtonRAClick();
    // Shows the kind of the command: an external one is typed or browsed
    // for, an internal one is edited through the arguments dialog.
    void ShowKind(CommandKind kind);
    // The arguments dialog for the internal command; True on Ok.
    bool ButtonEditClick();
    // Browses for a program; True when one was put into the command.
    bool ButtonCmdClick();
    // The text a command is shown with.
    QString CommandDisplayText(const QString &command) const;

    QTableWidget *StringGridComs = nullptr;
    QPushButton *BitBtnAddCmd = nullptr;
    QPushButton *BitBtnDelCmd = nullptr;
    QLabel *LabelCmd = nullptr;
    QLineEdit *EditCmd = nullptr;
    QPushButton *ButtonCmd = nullptr;
    QPushButton *ButtonEdit = nullptr;
    QGroupBox *GroupBoxCmd = nullptr;
    QRadioButton *RadioButtonExt = nullptr;
    QRadioButton *RadioButtonCopy = nullptr;
    QRadioButton *RadioButtonDel = nullptr;
    QRadioButton *RadioButtonRen = nullptr;
    DayGroup *GroupBoxCmdDay = nullptr;
    QGroupBox *GroupBoxCRegime = nullptr;
    QRadioButton *RadioButtonRB = nullptr;
    QRadioButton *RadioButtonRA = nullptr;

protected:
    void fill(int row) override;
    void rowClick() override { StringGridComsClick(); }

private:
    std::array<QRadioButton *, 4> kinds() const;
    CommandKind checkedKind() const;
    // The line's command as stored: key ">" command "=" days.
    void storeCommand(int row, const QString &command);
    QString runMark(const QString &key) const;

    TFormSelCmd &m_kindDialog;
    TFormCopy &m_pathsDialog;
};

} // namespace pelvo
