#include "CopyListPage.h"

#include "editor/PageTexts.h"
#include "editor/widgets/PageContext.h"
#include "editor/widgets/PathPicker.h"
#include "shared/widgets/FormBuilders.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pelvo {

using namespace zentavo::forms;

CopyListPage::CopyListPage(PageContext &context, EditorDocument::Tail list, const Names &names, QWidget *parent)
    : ListPage(context, list, parent)
{
    setObjectName(QLatin1String(names.page));
    m_layout = new QGridLayout(this);
    m_copyGrid = makeGrid(names.grid, {QStringLiteral("Copy to"), names.kindColumn});
    m_copyGrid->setColumnWidth(0, 420);
    m_addButton = makeAddButton(names.add);
    makeDelButton(names.del);
    m_layout->addWidget(m_copyGrid, 0, 0, 2, 2);
    m_layout->addWidget(m_addButton, 0, 2);
    m_layout->addWidget(m_delButton, 1, 2, Qt::AlignTop);

    const PathControls path = makePathRow(names.label, names.edit, names.browse, QStringLiteral("Copy to"));
    m_folderLabel = path.label;
    m_folderEdit = path.edit;
    m_browseButton = path.browse;
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folderLabel);
    folderRow->addWidget(m_folderEdit, 1);
    folderRow->addWidget(m_browseButton);
    m_layout->addLayout(folderRow, 2, 0, 1, 3);

    m_regimeBox = groupBox(this, names.regime, QStringLiteral("Regime"));
    m_regimeLayout = new QVBoxLayout(m_regimeBox);
    m_daily = radioButton(m_regimeBox, names.regime1, names.regime1Caption);
    m_evenUneven = radioButton(m_regimeBox, names.regime2, names.regime2Caption);
    m_regimeLayout->addWidget(m_daily);
    m_regimeLayout->addWidget(m_evenUneven);
    m_layout->addWidget(m_regimeBox, 3, 0);
    m_layout->setColumnStretch(1, 1);

    connect(m_copyGrid, &QTableWidget::currentCellChanged, this, [this] { rowClick(); });
    connect(m_folderEdit, &QLineEdit::textChanged, this, [this] { folderEdited(); });
    TellLineBreakerOnLeave(m_folderEdit);
    connect(m_daily, &QRadioButton::clicked, this,
            [this] { m_folderEdit->setText(WithoutEvenMark(m_folderEdit->text())); });
    connect(m_evenUneven, &QRadioButton::clicked, this,
            [this] { m_folderEdit->setText(WithEvenMark(m_folderEdit->text())); });
    connect(m_browseButton, &QPushButton::clicked, this, &CopyListPage::browseFolder);
    for (QWidget *control : std::initializer_list<QWidget *>{m_copyGrid, m_addButton, m_delButton, m_folderEdit,
                                                             m_browseButton, m_daily, m_evenUneven})
        m_context.watchKeys(control);
}

void CopyListPage::finishLayout(QWidget *besideRegime)
{
    m_regimeLayout->addStretch();
    m_layout->addWidget(besideRegime, 3, 1, 1, 2);
}

void CopyListPage::Show()
{
    fill(0);
    rowClick();
}

void CopyListPage::SetJobEnabled(bool enabled)
{
    m_copyGrid->setEnabled(enabled);
    m_addButton->setEnabled(enabled);
    rowClick();
}

void CopyListPage::setDetailsEnabled(bool enabled, std::initializer_list<QWidget *> more)
{
    m_delButton->setEnabled(enabled);
    for (QWidget *control : std::initializer_list<QWidget *>{m_folderEdit, m_browseButton, m_daily, m_evenUneven})
        control->setEnabled(enabled);
    for (QWidget *control : more)
        control->setEnabled(enabled);
}

void CopyListPage::folderEdited()
{
    const TBlock *job = block();
    const int row = Row();
    if (!job || row < 0)
        return;
    const QString folder = m_folderEdit->text();
    showRegime(folder);
    storeLine(row, lineWithFolder(*job, row, folder));
    setCell(row, 0, folder);
}

void CopyListPage::showRegime(const QString &folder)
{
    const bool even = folder.contains(u'?');
    m_evenUneven->setChecked(even);
    m_daily->setChecked(!even);
}

bool CopyListPage::browseFolder()
{
    const std::optional<QString> folder = PickCopyFolder(m_folderEdit->text());
    if (folder)
        m_folderEdit->setText(*folder);
    return folder.has_value();
}

} // namespace pelvo
