#include "ListPage.h"

#include "editor/PageTexts.h"
#include "editor/widgets/DayGroup.h"
#include "editor/widgets/JobGrid.h"
#include "editor/widgets/PageContext.h"
#include "editor/widgets/PathPicker.h"
#include "platform/Prompter.h"
#include "shared/widgets/FormBuilders.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

namespace pelvo {

ListPage::ListPage(PageContext &context, EditorDocument::Tail list, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_list(list)
{
}

const TBlock *ListPage::block() const
{
    return m_context.document.currentBlock();
}

QTableWidget *ListPage::makeGrid(const char *name, const QStringList &headers)
{
    m_grid = makeJobGrid(this, name, headers);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (!m_popup)
            return;
        m_popupDelete->setEnabled(CanDelete());
        m_popup->exec(m_grid->viewport()->mapToGlobal(at));
    });
    return m_grid;
}

QPushButton *ListPage::makeAddButton(const char *name)
{
    QPushButton *button = zentavo::forms::pushButton(this, name, QString());
    button->setIcon(zentavo::forms::commandIcon(style(), QStyle::SP_FileDialogNewFolder));
    button->setToolTip(QStringLiteral("Add"));
    connect(button, &QPushButton::clicked, this, &ListPage::AddClick);
    button->installEventFilter(this);
    return button;
}

QPushButton *ListPage::makeDelButton(const char *name)
{
    m_delButton = zentavo::forms::pushButton(this, name, QString());
    m_delButton->setIcon(zentavo::forms::commandIcon(style(), QStyle::SP_TrashIcon));
    m_delButton->setToolTip(QStringLiteral("Delete"));
    connect(m_delButton, &QPushButton::clicked, this, [this] { DelClick(); });
    m_delButton->installEventFilter(this);
    return m_delButton;
}

void ListPage::storeDays(const TStringListMy &lines, const DayGroup &days)
{
    const int row = Row();
    if (row < 0)
        return;
    const QString checked = days.Days();
    storeLine(row, lines.NameAt(row) + u'=' + checked);
    setCell(row, 1, DaysText(checked, days.EveryDay->text()));
}

void ListPage::storeLine(int row, const QString &line)
{
    m_context.document.setLine(m_list, row, line);
}

void ListPage::SetPopup(QMenu *popup, QAction *deleteItem)
{
    m_popup = popup;
    m_popupDelete = deleteItem;
}

bool ListPage::CanDelete() const
{
    return m_delButton && m_delButton->isEnabled();
}

bool ListPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Insert && block()) {
            AddClick();
            return true;
        }
        if (key == Qt::Key_Delete && CanDelete()) {
            DelClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ListPage::fillGrid(int rows, int row, const std::function<QStringList(int)> &cells)
{
    const QSignalBlocker quiet(m_grid);
    m_grid->clearContents();
    m_grid->setRowCount(rows);
    for (int i = 0; i < rows; ++i) {
        const QStringList texts = cells(i);
        for (int column = 0; column < texts.size(); ++column)
            m_grid->setItem(i, column, new QTableWidgetItem(texts.at(column)));
    }
    // A grid refilled with fewer rows selects a row that still exists.
    if (rows > 0)
        m_grid->setCurrentCell(std::clamp(row, 0, rows - 1), 0);
}

void ListPage::setCell(int row, int column, const QString &text)
{
    if (QTableWidgetItem *item = m_grid->item(row, column))
        item->setText(text);
    else if (row >= 0 && row < m_grid->rowCount())
        m_grid->setItem(row, column, new QTableWidgetItem(text));
}

QString ListPage::cell(int row, int column) const
{
    const QTableWidgetItem *item = m_grid->item(row, column);
    return item ? item->text() : QString();
}

int ListPage::Row() const
{
    const int rows = m_grid->rowCount();
    return rows == 0 ? -1 : std::clamp(m_grid->currentRow(), 0, rows - 1);
}

ListPage::PathControls ListPage::makePathRow(const char *labelName, const char *editName, const char *browseName,
                                             const QString &caption)
{
    PathControls row{zentavo::forms::label(this, labelName, caption), zentavo::forms::lineEdit(this, editName),
                     zentavo::forms::pushButton(this, browseName, QStringLiteral("Browse"))};
    row.label->setBuddy(row.edit);
    return row;
}

void ListPage::addFolderLine(const QString &newLine, QLineEdit *pathEdit)
{
    const QString start = pathEdit->text();
    const int row = m_grid->rowCount();
    {
        EditorDocument::Tentative added(m_context.document);
        m_context.document.addLine(m_list, newLine);
        fill(row);
        rowClick();
        if (const std::optional<QString> folder = PickCopyFolder(start))
            pathEdit->setText(*folder);
        rowClick();
        if (!pathEdit->text().isEmpty()) {
            added.keep();
            return;
        }
    }
    fill(row);
    rowClick();
}

void ListPage::deleteLine(const QString &question)
{
    const int row = Row();
    if (row < 0 || !confirmDelete(question, row))
        return;
    m_context.document.removeLine(m_list, row);
    fill(row);
    rowClick();
}

bool ListPage::confirmDelete(const QString &question, int row) const
{
    const platform::PromptButton answer
        = platform::prompter().message({m_delButton->toolTip(),
                                        question + u'\n' + cell(row, 0),
                                        platform::PromptIcon::Question,
                                        platform::PromptButton::Ok | platform::PromptButton::Cancel,
                                        {}});
    return answer == platform::PromptButton::Ok;
}

} // namespace pelvo
