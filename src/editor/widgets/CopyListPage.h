#pragma once

#include "editor/PelvoExt.h"
#include "editor/widgets/ListPage.h"

class QGridLayout;
class QGroupBox;
class QRadioButton;
class QVBoxLayout;

namespace pelvo {

// What the two copy pages share: the grid of copy folders with its add and
// delete buttons, the selected line's folder with its browse button, and
// the regime radios that set or remove the even/uneven-days mark of the
// folder. The pages add the group beside the regime and say what a line
// holds.
class CopyListPage : public ListPage {
    Q_OBJECT
public:
    // The object names of the shared controls, the grid's second column and
    // the regime radios' captions.
    struct Names {
        const char *page;
        const char *grid;
        QString kindColumn;
        const char *add;
        const char *del;
        const char *label;
        const char *edit;
        const char *browse;
        const char *regime;
        const char *regime1;
        QString regime1Caption;
        const char *regime2;
        QString regime2Caption;
    };

    void Show() override;
    void SetJobEnabled(bool enabled) override;

protected:
    CopyListPage(PageContext &context, EditorDocument::Tail list, const Names &names, QWidget *parent);

    // Once the page has added its own controls to the regime group: puts
    // the page's group beside it.
    void finishLayout(QWidget *besideRegime);
    // The detail controls are usable exactly when a line is selected.
    void setDetailsEnabled(bool enabled, std::initializer_list<QWidget *> more = {});
    // The regime radios follow the even/uneven-days mark of the folder.
    void showRegime(const QString &folder);
    // The selected line takes the folder the user edited, as typed.
    void folderEdited();
    // The line at row of the job with the folder in place of its own.
    virtual QString lineWithFolder(const TBlock &job, int row, const QString &folder) const = 0;
    // Lets the user pick the folder of the selected line; True when one was chosen.
    bool browseFolder();

    QTableWidget *m_copyGrid = nullptr;
    QPushButton *m_addButton = nullptr;
    QLabel *m_folderLabel = nullptr;
    QLineEdit *m_folderEdit = nullptr;
    QPushButton *m_browseButton = nullptr;
    QGroupBox *m_regimeBox = nullptr;
    QVBoxLayout *m_regimeLayout = nullptr;
    QRadioButton *m_daily = nullptr;
    QRadioButton *m_evenUneven = nullptr;
    QGridLayout *m_layout = nullptr;
};

} // namespace pelvo
