#include "ExtCopiesPage.h"

#include "ConstStr.h"
#include "FormBuilders.h"
#include "PageContext.h"
#include "PageTexts.h"
#include "PathPicker.h"

#include <QCheckBox>
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

namespace {

// The period letters in the order of the type radios, and their older
// Cyrillic forms.
constexpr std::array<char16_t, 4> Letters{u'W', u'M', u'Q', u'Y'};
constexpr std::array<char16_t, 4> OlderLetters{u'\u041D', u'\u041C', u'\u041A', u'\u0413'};

QString flagOf(bool deleteArchive)
{
    return deleteArchive ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

ExtCopiesPage::ExtCopiesPage(PageContext &context, QWidget *parent)
    : ListPage(context, parent)
{
    setObjectName(QStringLiteral("TabSheetExtCopies"));
    auto *layout = new QGridLayout(this);
    StringGridACopies = makeGrid("StringGridACopies", {QStringLiteral("Copy to"), QStringLiteral("Copy type")});
    StringGridACopies->setColumnWidth(0, 420);
    BitBtnAddDestExt = makeAddButton("BitBtnAddDestExt");
    BitBtnDelDestExt = makeDelButton("BitBtnDelDestExt");
    layout->addWidget(StringGridACopies, 0, 0, 2, 2);
    layout->addWidget(BitBtnAddDestExt, 0, 2);
    layout->addWidget(BitBtnDelDestExt, 1, 2, Qt::AlignTop);

    const PathControls path = makePathRow("LabelDestExt", "EditDestExt", "ButtonDestExt", QStringLiteral("Copy to"));
    LabelDestExt = path.label;
    EditDestExt = path.edit;
    ButtonDestExt = path.browse;
    auto *destRow = new QHBoxLayout;
    destRow->addWidget(LabelDestExt);
    destRow->addWidget(EditDestExt, 1);
    destRow->addWidget(ButtonDestExt);
    layout->addLayout(destRow, 2, 0, 1, 3);

    GroupBoxERegime = groupBox(this, "GroupBoxERegime", QStringLiteral("Regime"));
    auto *regime = new QVBoxLayout(GroupBoxERegime);
    RadioButton1 = radioButton(GroupBoxERegime, "RadioButton1", zentavo::sReg1Week);
    RadioButton2 = radioButton(GroupBoxERegime, "RadioButton2", zentavo::sReg2Week);
    CheckBoxDel = checkBox(GroupBoxERegime, "CheckBoxDel", QStringLiteral("Delete the initial archive"));
    regime->addWidget(RadioButton1);
    regime->addWidget(RadioButton2);
    regime->addWidget(CheckBoxDel);
    regime->addStretch();
    layout->addWidget(GroupBoxERegime, 3, 0);
    GroupBoxType = groupBox(this, "GroupBoxType", QStringLiteral("Copy type"));
    auto *type = new QVBoxLayout(GroupBoxType);
    RadioButtonWeek = radioButton(GroupBoxType, "RadioButtonWeek", QStringLiteral("End of week"));
    RadioButtonMonth = radioButton(GroupBoxType, "RadioButtonMonth", QStringLiteral("End of month"));
    RadioButtonQuart = radioButton(GroupBoxType, "RadioButtonQuart", QStringLiteral("End of quarter"));
    RadioButtonYear = radioButton(GroupBoxType, "RadioButtonYear", QStringLiteral("End of year"));
    for (QRadioButton *radio : types()) {
        type->addWidget(radio);
        connect(radio, &QRadioButton::clicked, this, &ExtCopiesPage::RadioButtonChange);
    }
    layout->addWidget(GroupBoxType, 3, 1, 1, 2);
    layout->setColumnStretch(1, 1);

    connect(StringGridACopies, &QTableWidget::currentCellChanged, this, &ExtCopiesPage::StringGridACopiesClick);
    connect(EditDestExt, &QLineEdit::textChanged, this, &ExtCopiesPage::EditDestExtChange);
    connect(RadioButton1, &QRadioButton::clicked, this, &ExtCopiesPage::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &ExtCopiesPage::RadioButton2Click);
    connect(CheckBoxDel, &QCheckBox::clicked, this, &ExtCopiesPage::CheckBoxDelClick);
    connect(ButtonDestExt, &QPushButton::clicked, this, &ExtCopiesPage::ButtonDestExtClick);
    for (QWidget *control : std::initializer_list<QWidget *>{StringGridACopies, BitBtnAddDestExt, BitBtnDelDestExt,
                                                             EditDestExt, ButtonDestExt, RadioButton1, RadioButton2,
                                                             CheckBoxDel, RadioButtonWeek, RadioButtonMonth,
                                                             RadioButtonQuart, RadioButtonYear})
        m_context.watchKeys(control);
}

std::array<QRadioButton *, 4> ExtCopiesPage::types() const
{
    return {RadioButtonWeek, RadioButtonMonth, RadioButtonQuart, RadioButtonYear};
}

QRadioButton *ExtCopiesPage::typeOf(const QString &kind) const
{
    const QChar letter = (kind.isEmpty() ? QChar() : kind.at(0).toUpper());
    for (std::size_t i = 0; i < Letters.size(); ++i) {
        if (letter == QChar(Letters[i]) || letter == QChar(OlderLetters[i]))
            return types()[i];
    }
    return nullptr;
}

void ExtCopiesPage::fill(int row)
{
    const TBlock *job = block();
    const TStringListMyExt none;
    const TStringListMyExt &copies = job ? job->ExtCopies : none;
    fillGrid(int(copies.size()), row, [&](int i) {
        const QRadioButton *type = typeOf(copies.KeyAt(i));
        return QStringList{copies.TailAt(i), type ? type->text() : QString()};
    });
}

void ExtCopiesPage::Show()
{
    fill(0);
    StringGridACopiesClick();
}

void ExtCopiesPage::SetJobEnabled(bool enabled)
{
    StringGridACopies->setEnabled(enabled);
    BitBtnAddDestExt->setEnabled(enabled);
    StringGridACopiesClick();
}

void ExtCopiesPage::StringGridACopiesClick()
{
    const TBlock *job = block();
    const int row = Row();
    const bool have = job && row >= 0 && StringGridACopies->isEnabled();
    BitBtnDelDestExt->setEnabled(have);
    for (QWidget *control : std::initializer_list<QWidget *>{EditDestExt, ButtonDestExt, RadioButton1, RadioButton2,
                                                             CheckBoxDel, RadioButtonWeek, RadioButtonMonth,
                                                             RadioButtonQuart, RadioButtonYear})
        control->setEnabled(have);
    if (!have) {
        filling([&] { EditDestExt->clear(); });
        return;
    }
    filling([&] {
        EditDestExt->setText(job->ExtCopies.TailAt(row));
        const bool even = EditDestExt->text().contains(u'?');
        RadioButton2->setChecked(even);
        RadioButton1->setChecked(!even);
        QRadioButton *type = typeOf(job->ExtCopies.KeyAt(row));
        for (QRadioButton *radio : types()) {
            radio->setAutoExclusive(false);
            radio->setChecked(radio == type);
            radio->setAutoExclusive(true);
        }
        CheckBoxDel->setChecked(job->ExtCopies.ValueAt(row) == QStringLiteral("1"));
    });
    RadioButtonClick();
}

void ExtCopiesPage::RadioButtonChange()
{
    RadioButtonClick();
    m_context.changed();
}

void ExtCopiesPage::RadioButtonClick()
{
    TBlock *job = block();
    const int row = Row();
    if (!job || row < 0)
        return;
    const std::array<std::pair<const QString *, const QString *>, 4> regimes{
        {{&zentavo::sReg1Week, &zentavo::sReg2Week},
         {&zentavo::sReg1Month, &zentavo::sReg2Month},
         {&zentavo::sReg1Quart, &zentavo::sReg2Quart},
         {&zentavo::sReg1Year, &zentavo::sReg2Year}}};
    // A line whose letter names no period becomes a year copy.
    std::size_t kind = 3;
    for (std::size_t i = 0; i < 3; ++i) {
        if (types()[i]->isChecked()) {
            kind = i;
            break;
        }
    }
    RadioButton1->setText(*regimes[kind].first);
    RadioButton2->setText(*regimes[kind].second);
    setCell(row, 1, types()[kind]->text());
    QString &line = job->ExtCopies[row];
    const qsizetype mark = line.indexOf(u'>');
    line = QChar(Letters[kind]) + (mark < 0 ? u'>' + line : line.mid(mark));
}

void ExtCopiesPage::EditDestExtChange()
{
    TBlock *job = block();
    const int row = Row();
    if (!job || row < 0 || RefuseLineBreaker(EditDestExt))
        return;
    const QString text = EditDestExt->text();
    const bool even = text.contains(u'?');
    RadioButton2->setChecked(even);
    RadioButton1->setChecked(!even);
    const bool differs = text != cell(row, 0);
    job->ExtCopies[row] = job->ExtCopies.KeyAt(row) + u'>' + text + u'=' + job->ExtCopies.ValueAt(row);
    setCell(row, 0, text);
    if (differs)
        m_context.changed();
}

void ExtCopiesPage::RadioButton1Click()
{
    EditDestExt->setText(WithoutEvenMark(EditDestExt->text()));
}

void ExtCopiesPage::RadioButton2Click()
{
    EditDestExt->setText(WithEvenMark(EditDestExt->text()));
}

void ExtCopiesPage::CheckBoxDelClick()
{
    TBlock *job = block();
    if (!job || !m_context.FormFilled)
        return;
    // One setting for every additional copy of the job.
    for (qsizetype i = 0; i < job->ExtCopies.size(); ++i)
        job->ExtCopies[i] = job->ExtCopies.KeyAt(i) + u'>' + job->ExtCopies.TailAt(i) + u'=' + flagOf(CheckBoxDel->isChecked());
    m_context.changed();
}

bool ExtCopiesPage::ButtonDestExtClick()
{
    const std::optional<QString> folder = PickCopyFolder(EditDestExt->text());
    if (folder)
        EditDestExt->setText(*folder);
    return folder.has_value();
}

void ExtCopiesPage::AddClick()
{
    if (TBlock *job = block())
        addFolderLine(job->ExtCopies, QStringLiteral("W>"), EditDestExt);
}

void ExtCopiesPage::DelClick(bool ask)
{
    if (TBlock *job = block())
        deleteLine(job->ExtCopies, ask, zentavo::sQuestionDelACopy);
}

} // namespace pelvo
