#pragma once

#include <QWidget>

#include <optional>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace pelvo {

class PageContext;
class TFormSource;

// The Archive page: the archive's name, the sources with their exclusions
// and the comment. Every control writes into the job at once.
class ArchivePage final : public QWidget {
    Q_OBJECT
public:
    ArchivePage(PageContext &context, TFormSource &sourceDialog, QWidget *parent = nullptr);

    // Fills the page from the job; with none, empties it.
    void Show();
    void SetJobEnabled(bool enabled);
    // The user's own edits of the three text fields since the last save.
    bool EditsModified() const;
    void ClearEditMarks();

    void EditArchChange();
    void EditXChange();
    void EditZChange();
    void CheckBoxExcludeClick();
    void StringGridArchClick();
    void BitBtnAddClick();
    void BitBtnEditClick();
    void BitBtnDelClick();
    void ButtonBrowseClick();

    QGroupBox *GroupBoxArch = nullptr;
    QLineEdit *EditArch = nullptr;
    QPushButton *ButtonBrowse = nullptr;
    QGroupBox *GroupBoxSource = nullptr;
    QTableWidget *StringGridArch = nullptr;
    QPushButton *BitBtnAdd = nullptr;
    QPushButton *BitBtnEdit = nullptr;
    QPushButton *BitBtnDel = nullptr;
    QLabel *LabelX = nullptr;
    QLineEdit *EditX = nullptr;
    QLabel *LabelSeparator = nullptr;
    QCheckBox *CheckBoxExclude = nullptr;
    QLabel *LabelZ = nullptr;
    QLineEdit *EditZ = nullptr;
    QAction *PopupSourceAdd = nullptr;
    QAction *PopupSourceEdit = nullptr;
    QAction *PopupSourceDel = nullptr;

private:
    void createControls();
    // Refills the grid from the job and selects the row, or the last one.
    void fillGrid(int row);
    int gridRow() const;
    // The source dialog started on current; the source entered, or nothing when cancelled.
    std::optional<QString> askSource(const QString &current);
    // Sets every exclusion line that differs from EditX's text to it.
    void applyExclusionsToAll();

    PageContext &m_context;
    TFormSource &m_sourceDialog;
};

} // namespace pelvo
