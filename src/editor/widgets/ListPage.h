#pragma once

#include "editor/EditorDocument.h"
#include "editor/PelvoExt.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;

namespace pelvo {

class DayGroup;
class PageContext;

// A page that shows one list of the job in a grid with its details beside
// it: Ins adds a line, Del deletes the selected one after a question, and
// the shared popup menu does the same.
class ListPage : public QWidget {
    Q_OBJECT
public:
    // The page edits the list of the job shown.
    ListPage(PageContext &context, EditorDocument::Tail list, QWidget *parent);

    // Fills the page from the job, on the first line; empties it without one.
    virtual void Show() = 0;
    virtual void SetJobEnabled(bool enabled) = 0;
    virtual void AddClick() = 0;
    // Deletes the selected line once the user confirms.
    virtual void DelClick() = 0;

    // The shared popup menu of the list pages (Add, Delete).
    void SetPopup(QMenu *popup, QAction *deleteItem);
    bool CanDelete() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Refills the grid from the list and selects the row (kept inside it).
    virtual void fill(int row) = 0;
    // Shows the selected line in the detail controls.
    virtual void rowClick() = 0;

    // The label, edit and browse button of the selected line's path, added
    // to the layout.
    struct PathControls {
        QLabel *label;
        QLineEdit *edit;
        QPushButton *browse;
    };
    PathControls makePathRow(const char *labelName, const char *editName, const char *browseName,
                             const QString &caption);
    // Appends newLine and lets the user pick its folder into pathEdit; a
    // line that got no folder is taken back.
    void addFolderLine(const QString &newLine, QLineEdit *pathEdit);
    // Deletes the selected line after the question.
    void deleteLine(const QString &question);
    // The selected line of the page's folder=days or command=days list
    // (lines, as the job shown holds it) takes the days checked in the
    // group; the grid's second column shows them.
    void storeDays(const TStringListMy &lines, const DayGroup &days);
    // The line at row of the page's list becomes line.
    void storeLine(int row, const QString &line);

    // The grid of the page; its rows follow the list.
    QTableWidget *makeGrid(const char *name, const QStringList &headers);
    // The add and delete buttons with the hints "Add" and "Delete".
    QPushButton *makeAddButton(const char *name);
    QPushButton *makeDelButton(const char *name);
    // Refills the grid with rows lines, row by row through cells(i), and
    // selects the given row, kept inside the list.
    void fillGrid(int rows, int row, const std::function<QStringList(int)> &cells);
    void setCell(int row, int column, const QString &text);
    QString cell(int row, int column) const;
    // The selected line: always one that exists, -1 for an empty list.
    int Row() const;
    // Asks the delete question; True to delete.
    bool confirmDelete(const QString &question, int row) const;
    // The job shown, to read; nullptr while there is none.
    const TBlock *block() const;

    PageContext &m_context;
    const EditorDocument::Tail m_list;
    QTableWidget *m_grid = nullptr;
    QPushButton *m_delButton = nullptr;

private:
    QMenu *m_popup = nullptr;
    QAction *m_popupDelete = nullptr;
};

} // namespace pelvo
