#pragma once

#include "ListPage.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace pelvo {

class DayGroup;

// The Copies page: the folders the archive is copied to, each on its days
// and with the even/uneven-days mark.
class CopiesPage final : public ListPage {
    Q_OBJECT
public:
    explicit CopiesPage(PageContext &context, QWidget *parent = nullptr);

    void Show() override;
    void SetJobEnabled(bool enabled) override;
    void AddClick() override;
    void DelClick(bool ask) override;

    void StringGridCopiesClick();
    void EditDestChange();
    void CheckBoxClick();
    void RadioButtonReg1Click();
    void RadioButtonReg2Click();
    // True when a folder was chosen.
    bool ButtonDestClick();

    QTableWidget *StringGridCopies = nullptr;
    QPushButton *BitBtnAddDest = nullptr;
    QPushButton *BitBtnDelDest = nullptr;
    QLabel *LabelDest = nullptr;
    QLineEdit *EditDest = nullptr;
    QPushButton *ButtonDest = nullptr;
    QGroupBox *GroupBoxRegime = nullptr;
    QRadioButton *RadioButtonReg1 = nullptr;
    QRadioButton *RadioButtonReg2 = nullptr;
    DayGroup *GroupBoxDestDay = nullptr;

protected:
    void fill(int row) override;
    void rowClick() override { StringGridCopiesClick(); }

private:
};

} // namespace pelvo
