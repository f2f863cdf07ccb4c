#include "ExtCopiesPage.h"

#include "editor/EditorDocument.h"
#include "editor/PageTexts.h"
#include "editor/widgets/PageContext.h"
#include "shared/ConstStr.h"
#include "shared/widgets/FormBuilders.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
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
    : CopyListPage(context, EditorDocument::Tail::ExtraCopies,
                   {"TabSheetExtCopies", "StringGridACopies", QStringLiteral("Copy type"), "BitBtnAddDestExt",
                    "BitBtnDelDestExt", "LabelDestExt", "EditDestExt", "ButtonDestExt", "GroupBoxERegime",
                    "RadioButton1", zentavo::sReg1Week, "RadioButton2", zentavo::sReg2Week},
                   parent)
    , StringGridACopies(m_copyGrid)
    , BitBtnAddDestExt(m_addButton)
    , BitBtnDelDestExt(m_delButton)
    , LabelDestExt(m_folderLabel)
    , EditDestExt(m_folderEdit)
    , ButtonDestExt(m_browseButton)
    , GroupBoxERegime(m_regimeBox)
    , RadioButton1(m_daily)
    , RadioButton2(m_evenUneven)
{
    CheckBoxDel = checkBox(GroupBoxERegime, "CheckBoxDel", QStringLiteral("Delete the initial archive"));
    m_regimeLayout->addWidget(CheckBoxDel);
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
    finishLayout(GroupBoxType);

    connect(CheckBoxDel, &QCheckBox::clicked, this, &ExtCopiesPage::CheckBoxDelClick);
    for (QWidget *control : std::initializer_list<QWidget *>{CheckBoxDel, RadioButtonWeek, RadioButtonMonth,
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

void ExtCopiesPage::StringGridACopiesClick()
{
    const TBlock *job = block();
    const int row = Row();
    const bool have = job && row >= 0 && StringGridACopies->isEnabled();
    setDetailsEnabled(have, {CheckBoxDel, RadioButtonWeek, RadioButtonMonth, RadioButtonQuart, RadioButtonYear});
    const QSignalBlocker quiet(EditDestExt);
    if (!have) {
        EditDestExt->clear();
        return;
    }
    EditDestExt->setText(job->ExtCopies.TailAt(row));
    showRegime(EditDestExt->text());
    QRadioButton *type = typeOf(job->ExtCopies.KeyAt(row));
    for (QRadioButton *radio : types()) {
        radio->setAutoExclusive(false);
        radio->setChecked(radio == type);
        radio->setAutoExclusive(true);
    }
    CheckBoxDel->setChecked(job->ExtCopies.ValueAt(row) == QStringLiteral("1"));
    showType(row);
}

void ExtCopiesPage::RadioButtonChange()
{
    const TBlock *job = block();
    const int row = Row();
    if (!job || row < 0)
        return;
    const std::size_t kind = showType(row);
    const QString &line = job->ExtCopies.at(row);
    const qsizetype mark = line.indexOf(u'>');
    storeLine(row, QChar(Letters[kind]) + (mark < 0 ? u'>' + line : line.mid(mark)));
}

std::size_t ExtCopiesPage::showType(int row)
{
    const std::array<std::pair<const QString *, const QString *>, 4> regimes{
        {{&zentavo::sReg1Week, &zentavo::sReg2Week},
         {&zentavo::sReg1Month, &zentavo::sReg2Month},
         {&zentavo::sReg1Quart, &zentavo::sReg2Quart},
         {&zentavo::sReg1Year, &zentavo::sReg2Year}}};
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
    return kind;
}

QString ExtCopiesPage::lineWithFolder(const TBlock &job, int row, const QString &folder) const
{
    return job.ExtCopies.KeyAt(row) + u'>' + folder + u'=' + job.ExtCopies.ValueAt(row);
}

void ExtCopiesPage::CheckBoxDelClick()
{
    const TBlock *job = block();
    if (!job)
        return;
    // One setting for every additional copy of the job.
    for (int i = 0; i < int(job->ExtCopies.size()); ++i)
        storeLine(i,
                  job->ExtCopies.KeyAt(i) + u'>' + job->ExtCopies.TailAt(i) + u'=' + flagOf(CheckBoxDel->isChecked()));
}

void ExtCopiesPage::AddClick()
{
    if (block())
        addFolderLine(QStringLiteral("W>"), EditDestExt);
}

void ExtCopiesPage::DelClick()
{
    deleteLine(zentavo::sQuestionDelACopy);
}

} // namespace pelvo
