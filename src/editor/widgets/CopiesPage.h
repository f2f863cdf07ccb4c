#pragma once

#include "editor/widgets/CopyListPage.h"

namespace pelvo {

class DayGroup;

// The Copies page: the folders the archive is copied to, each on its days
// and with the even/uneven-days mark.
class CopiesPage final : public CopyListPage {
    Q_OBJECT
public:
    explicit CopiesPage(PageContext &context, QWidget *parent = nullptr);

    void AddClick() override;
    void DelClick() override;

    void StringGridCopiesClick();
    void CheckBoxClick();

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
    QString lineWithFolder(const TBlock &job, int row, const QString &folder) const override;
};

} // namespace pelvo
