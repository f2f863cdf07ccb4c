#include "ArchivePage.h"

#include "editor/EditorDocument.h"
#include "editor/PageTexts.h"
#include "editor/widgets/EditSource.h"
#include "editor/widgets/JobGrid.h"
#include "editor/widgets/PageContext.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/widgets/DialogRunner.h"
#include "shared/ConstStr.h"
#include "shared/widgets/FormBuilders.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pelvo {

using namespace zentavo::forms;

ArchivePage::ArchivePage(PageContext &context, TFormSource &sourceDialog, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_sourceDialog(sourceDialog)
{
    setObjectName(QStringLiteral("TabSheetArch"));
    createControls();
}

void ArchivePage::createControls()
{
    auto *layout = new QVBoxLayout(this);
    GroupBoxArch = groupBox(this, "GroupBoxArch", QStringLiteral("Archive filename"));
    const PathRow archive = pathRow(GroupBoxArch, "EditArch", "ButtonBrowse");
    EditArch = archive.edit;
    ButtonBrowse = archive.browse;
    ButtonBrowse->setText(QStringLiteral("Browse"));
    layout->addWidget(GroupBoxArch);

    GroupBoxSource = groupBox(this, "GroupBoxSource", QStringLiteral("Filelist to archiving"));
    auto *sources = new QGridLayout(GroupBoxSource);
    StringGridArch = makeJobGrid(GroupBoxSource, "StringGridArch",
                                 {QStringLiteral("Files/Folders"), QStringLiteral("Exclusions")});
    StringGridArch->setColumnWidth(0, 330);
    sources->addWidget(StringGridArch, 0, 0, 3, 1);

    QStyle *look = style();
    const auto listButton = [&](const char *name, const QString &hint, QStyle::StandardPixmap icon) {
        QPushButton *button = pushButton(GroupBoxSource, name, QString());
        button->setIcon(commandIcon(look, icon));
        button->setToolTip(hint);
        return button;
    };
    BitBtnAdd = listButton("BitBtnAdd", QStringLiteral("Add"), QStyle::SP_FileDialogNewFolder);
    BitBtnEdit = listButton("BitBtnEdit", QStringLiteral("Edit"), QStyle::SP_FileDialogContentsView);
    BitBtnDel = listButton("BitBtnDel", QStringLiteral("Delete"), QStyle::SP_TrashIcon);
    sources->addWidget(BitBtnAdd, 0, 1);
    sources->addWidget(BitBtnEdit, 1, 1);
    sources->addWidget(BitBtnDel, 2, 1, Qt::AlignTop);

    auto *exclusions = new QHBoxLayout;
    LabelX = label(GroupBoxSource, "LabelX", QStringLiteral("Exclusions"));
    EditX = lineEdit(GroupBoxSource, "EditX");
    LabelX->setBuddy(EditX);
    LabelSeparator = label(GroupBoxSource, "LabelSeparator", QStringLiteral("list separator"));
    exclusions->addWidget(LabelX);
    exclusions->addWidget(EditX, 1);
    exclusions->addWidget(LabelSeparator);
    sources->addLayout(exclusions, 3, 0, 1, 2);
    CheckBoxExclude = checkBox(GroupBoxSource, "CheckBoxExclude", QStringLiteral("Apply to the full filelist"));
    sources->addWidget(CheckBoxExclude, 4, 0, 1, 2);
    layout->addWidget(GroupBoxSource, 1);

    auto *comment = new QHBoxLayout;
    LabelZ = label(this, "LabelZ", QStringLiteral("Comment"));
    EditZ = lineEdit(this, "EditZ");
    LabelZ->setBuddy(EditZ);
    comment->addWidget(LabelZ);
    comment->addWidget(EditZ, 1);
    layout->addLayout(comment);

    const auto popupItem
        = [this](const char *name, const QString &caption, const QKeySequence &key, void (ArchivePage::*handler)()) {
              QAction *action = named(new QAction(caption, StringGridArch), name);
              action->setShortcut(key);
              action->setShortcutContext(Qt::WidgetShortcut);
              connect(action, &QAction::triggered, this, handler);
              StringGridArch->addAction(action);
              return action;
          };
    PopupSourceAdd
        = popupItem("PopupSourceAdd", BitBtnAdd->toolTip(), QKeySequence(Qt::Key_Insert), &ArchivePage::BitBtnAddClick);
    PopupSourceEdit
        = popupItem("PopupSourceEdit", BitBtnEdit->toolTip(), QKeySequence(Qt::Key_F2), &ArchivePage::BitBtnEditClick);
    PopupSourceDel
        = popupItem("PopupSourceDel", BitBtnDel->toolTip(), QKeySequence(Qt::Key_Delete), &ArchivePage::BitBtnDelClick);
    StringGridArch->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(EditArch, &QLineEdit::textChanged, this, &ArchivePage::EditArchChange);
    connect(EditX, &QLineEdit::textChanged, this, &ArchivePage::EditXChange);
    connect(EditZ, &QLineEdit::textChanged, this, &ArchivePage::EditZChange);
    connect(CheckBoxExclude, &QCheckBox::clicked, this, &ArchivePage::CheckBoxExcludeClick);
    connect(StringGridArch, &QTableWidget::currentCellChanged, this, &ArchivePage::StringGridArchClick);
    connect(StringGridArch, &QTableWidget::cellDoubleClicked, this, [this] {
        if (BitBtnEdit->isEnabled())
            BitBtnEditClick();
    });
    connect(BitBtnAdd, &QPushButton::clicked, this, &ArchivePage::BitBtnAddClick);
    connect(BitBtnEdit, &QPushButton::clicked, this, &ArchivePage::BitBtnEditClick);
    connect(BitBtnDel, &QPushButton::clicked, this, &ArchivePage::BitBtnDelClick);
    connect(ButtonBrowse, &QPushButton::clicked, this, &ArchivePage::ButtonBrowseClick);
    for (QWidget *control : std::initializer_list<QWidget *>{EditArch, ButtonBrowse, StringGridArch, BitBtnAdd,
                                                             BitBtnEdit, BitBtnDel, EditX, CheckBoxExclude, EditZ})
        m_context.watchKeys(control);
}

void ArchivePage::Show()
{
    const TBlock *block = m_context.document.currentBlock();
    {
        const QSignalBlocker quietName(EditArch);
        const QSignalBlocker quietComment(EditZ);
        EditArch->setText(block ? block->GetStr(ArchiveName) : QString());
        EditZ->setText(block ? block->GetStr(Comment) : QString());
    }
    // A job is shown on its first source.
    fillGrid(0);
    // The box is not stored: it shows whether one set of exclusions serves every source.
    const bool allEqual = block
        && std::all_of(block->Exclusions.begin(), block->Exclusions.end(),
                       [block](const QString &line) { return line == block->Exclusions.constFirst(); });
    CheckBoxExclude->setChecked(allEqual);
    StringGridArchClick();
}

void ArchivePage::SetJobEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{EditArch, ButtonBrowse, StringGridArch, BitBtnAdd,
                                                             BitBtnEdit, BitBtnDel, EditX, CheckBoxExclude, EditZ})
        control->setEnabled(enabled);
    if (enabled)
        StringGridArchClick();
}

bool ArchivePage::EditsModified() const
{
    return EditArch->isModified() || EditX->isModified() || EditZ->isModified();
}

void ArchivePage::ClearEditMarks()
{
    EditArch->setModified(false);
    EditX->setModified(false);
    EditZ->setModified(false);
}

int ArchivePage::gridRow() const
{
    const TBlock *block = m_context.document.currentBlock();
    const int row = StringGridArch->currentRow();
    if (!block || block->Sources.isEmpty())
        return -1;
    return std::clamp(row, 0, int(block->Sources.size()) - 1);
}

void ArchivePage::fillGrid(int row)
{
    const TBlock *block = m_context.document.currentBlock();
    const QSignalBlocker quiet(StringGridArch);
    const int rows = block ? int(block->Sources.size()) : 0;
    StringGridArch->setRowCount(rows);
    for (int i = 0; i < rows; ++i) {
        StringGridArch->setItem(i, 0, new QTableWidgetItem(block->Sources.at(i)));
        StringGridArch->setItem(i, 1, new QTableWidgetItem(block->Exclusions.value(i)));
    }
    // A grid refilled with fewer rows keeps a row that exists.
    if (rows > 0)
        StringGridArch->setCurrentCell(std::clamp(row, 0, rows - 1), 0);
}

void ArchivePage::EditArchChange()
{
    m_context.document.setText(ArchiveName, EditArch->text());
}

void ArchivePage::EditZChange()
{
    m_context.document.setText(Comment, EditZ->text());
}

void ArchivePage::EditXChange()
{
    const int row = gridRow();
    if (row < 0)
        return;
    m_context.document.setExclusions(row, EditX->text());
    if (QTableWidgetItem *cell = StringGridArch->item(row, 1))
        cell->setText(EditX->text());
    if (CheckBoxExclude->isChecked())
        applyExclusionsToAll();
}

void ArchivePage::applyExclusionsToAll()
{
    const TBlock *block = m_context.document.currentBlock();
    const QString text = EditX->text();
    for (int i = 0; i < int(block->Exclusions.size()); ++i) {
        m_context.document.setExclusions(i, text);
        if (QTableWidgetItem *cell = StringGridArch->item(i, 1))
            cell->setText(text);
    }
}

void ArchivePage::CheckBoxExcludeClick()
{
    if (CheckBoxExclude->isChecked() && m_context.document.currentBlock())
        applyExclusionsToAll();
    EditX->setEnabled(true);
    StringGridArchClick();
}

void ArchivePage::StringGridArchClick()
{
    const TBlock *block = m_context.document.currentBlock();
    const bool haveSources = block && !block->Sources.isEmpty();
    for (QWidget *control : std::initializer_list<QWidget *>{BitBtnEdit, BitBtnDel, EditX, CheckBoxExclude})
        control->setEnabled(haveSources);
    PopupSourceEdit->setEnabled(haveSources);
    PopupSourceDel->setEnabled(haveSources);
    const QSignalBlocker quiet(EditX);
    EditX->setText(haveSources ? block->Exclusions.value(gridRow()) : QString());
}

std::optional<QString> ArchivePage::askSource(const QString &current)
{
    m_sourceDialog.EditWhat->setText(current);
    if (platform::runDialog(m_sourceDialog) != QDialog::Accepted)
        return std::nullopt;
    return m_sourceDialog.EditWhat->text();
}

void ArchivePage::BitBtnAddClick()
{
    const TBlock *block = m_context.document.currentBlock();
    if (!block)
        return;
    if (const std::optional<QString> source = askSource(QString())) {
        const bool shared = CheckBoxExclude->isChecked() && !block->Exclusions.isEmpty();
        const QString exclusions = shared ? block->Exclusions.constFirst() : QString();
        m_context.document.addSource(*source, exclusions);
        fillGrid(int(block->Sources.size()) - 1);
    }
    StringGridArchClick();
}

void ArchivePage::BitBtnEditClick()
{
    const TBlock *block = m_context.document.currentBlock();
    const int row = gridRow();
    if (!block || row < 0)
        return;
    if (const std::optional<QString> source = askSource(block->Sources.at(row))) {
        m_context.document.setSource(row, *source);
        fillGrid(row);
    }
    StringGridArchClick();
}

void ArchivePage::BitBtnDelClick()
{
    const int row = gridRow();
    if (row < 0)
        return;
    m_context.document.removeSource(row);
    fillGrid(row);
    StringGridArchClick();
}

void ArchivePage::ButtonBrowseClick()
{
    const QString current = EditArch->text();
    // A save dialog: the archive is usually named before it exists.
    platform::FileRequest request;
    request.mode = platform::FileRequest::Mode::Save;
    request.title = GroupBoxArch->title();
    request.folder = PickerStart(current);
    request.fileName = platform::fileNamePart(current);
    request.filter = zentavo::sFilterArch + QStringLiteral(" (*.zip)");
    request.defaultSuffix = QStringLiteral("zip");
    const std::optional<QString> chosen = platform::prompter().fileName(request);
    if (!chosen || *chosen == current)
        return;
    EditArch->setText(*chosen);
    EditArch->setModified(true);
}

} // namespace pelvo
