#pragma once

#include "editor/widgets/CopyListPage.h"

#include <array>

class QCheckBox;

namespace pelvo {

// The Additional copies page: copies made at the end of a week, month,
// quarter or year, and whether the archive is deleted after them.
class ExtCopiesPage final : public CopyListPage {
    Q_OBJECT
public:
    explicit ExtCopiesPage(PageContext &context, QWidget *parent = nullptr);

    void AddClick() override;
    void DelClick() override;

    void StringGridACopiesClick();
    // The user chose another copy type: the line takes its letter.
    void RadioButtonChange();
    void CheckBoxDelClick();

    QTableWidget *StringGridACopies = nullptr;
    QPushButton *BitBtnAddDestExt = nullptr;
    QPushButton *BitBtnDelDestExt = nullptr;
    QLabel *LabelDestExt = nullptr;
    QLineEdit *EditDestExt = nullptr;
    QPushButton *ButtonDestExt = nullptr;
    QGroupBox *GroupBoxERegime = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QCheckBox *CheckBoxDel = nullptr;
    QGroupBox *GroupBoxType = nullptr;
    QRadioButton *RadioButtonWeek = nullptr;
    QRadioButton *RadioButtonMonth = nullptr;
    QRadioButton *RadioButtonQuart = nullptr;
    QRadioButton *RadioButtonYear = nullptr;

protected:
    void fill(int row) override;
    void rowClick() override { StringGridACopiesClick(); }
    QString lineWithFolder(const TBlock &job, int row, const QString &folder) const override;

private:
    // The regime captions and the type cell of the selected line follow
    // the checked type; its index in the type radios, a line whose letter
    // names no period being a year copy.
    std::size_t showType(int row);
    // The type radio of a kind letter (Latin or the older Cyrillic one, any
    // case); nullptr for another letter.
    QRadioButton *typeOf(const QString &kind) const;
    std::array<QRadioButton *, 4> types() const;
};

} // namespace pelvo
