#include "CommandsPage.h"

#include "editor/EditorDocument.h"
#include "editor/widgets/DayGroup.h"
#include "editor/widgets/EditCmdCopy.h"
#include "editor/widgets/PageContext.h"
#include "editor/widgets/PathPicker.h"
#include "editor/widgets/UnitSelCmd.h"
#include "platform/CommandLine.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/widgets/DialogRunner.h"
#include "shared/ConstStr.h"
#include "shared/widgets/FormBuilders.h"

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

const QString BeforeKey = QStringLiteral("CMD1");
const QString AfterKey = QStringLiteral("CMD2");

// A new internal command before its paths are given.
QString templateOf(CommandKind kind)
{
    const QString command = InternalCommand(kind, QString(), QString());
    return kind == CommandKind::Delete ? command : command + QStringLiteral(" TO \"\"");
}

} // namespace

CommandsPage::CommandsPage(PageContext &context, TFormSelCmd &kindDialog, TFormCopy &pathsDialog, QWidget *parent)
    : ListPage(context, EditorDocument::Tail::Commands, parent)
    , m_kindDialog(kindDialog)
    , m_pathsDialog(pathsDialog)
{
    setObjectName(QStringLiteral("TabSheetComs"));
    auto *layout = new QGridLayout(this);
    StringGridComs
        = makeGrid("StringGridComs", {QStringLiteral("Command"), QStringLiteral("Days"), QStringLiteral("Run")});
    StringGridComs->setColumnWidth(0, 340);
    StringGridComs->setColumnWidth(1, 150);
    BitBtnAddCmd = makeAddButton("BitBtnAddCmd");
    BitBtnDelCmd = makeDelButton("BitBtnDelCmd");
    layout->addWidget(StringGridComs, 0, 0, 2, 3);
    layout->addWidget(BitBtnAddCmd, 0, 3);
    layout->addWidget(BitBtnDelCmd, 1, 3, Qt::AlignTop);

    auto *commandRow = new QHBoxLayout;
    LabelCmd = label(this, "LabelCmd", QStringLiteral("Command"));
    EditCmd = lineEdit(this, "EditCmd");
    ButtonCmd = pushButton(this, "ButtonCmd", QStringLiteral("Browse"));
    ButtonEdit = pushButton(this, "ButtonEdit", QStringLiteral("Edit"));
    LabelCmd->setBuddy(EditCmd);
    commandRow->addWidget(LabelCmd);
    commandRow->addWidget(EditCmd, 1);
    commandRow->addWidget(ButtonCmd);
    commandRow->addWidget(ButtonEdit);
    layout->addLayout(commandRow, 2, 0, 1, 4);

    // The kind is chosen when the command is added; the radios only show it.
    GroupBoxCmd = groupBox(this, "GroupBoxCmd", QStringLiteral("Command"));
    auto *kindLayout = new QVBoxLayout(GroupBoxCmd);
    std::tie(RadioButtonExt, RadioButtonCopy, RadioButtonDel, RadioButtonRen)
        = addCommandKinds(*GroupBoxCmd, *kindLayout);
    for (QRadioButton *radio : kinds()) {
        radio->setAttribute(Qt::WA_TransparentForMouseEvents);
        radio->setFocusPolicy(Qt::NoFocus);
    }
    layout->addWidget(GroupBoxCmd, 3, 0);
    GroupBoxCmdDay = new DayGroup(this, "GroupBoxCmdDay", "DayOfWeekC", "CheckBoxCEveryDay");
    layout->addWidget(GroupBoxCmdDay, 3, 1);
    GroupBoxCRegime = groupBox(this, "GroupBoxCRegime", QStringLiteral("Run"));
    auto *regime = new QVBoxLayout(GroupBoxCRegime);
    RadioButtonRB = radioButton(GroupBoxCRegime, "RadioButtonRB", QStringLiteral("Before archiving"));
    RadioButtonRA = radioButton(GroupBoxCRegime, "RadioButtonRA", QStringLiteral("After archiving"));
    regime->addWidget(RadioButtonRB);
    regime->addWidget(RadioButtonRA);
    regime->addStretch();
    layout->addWidget(GroupBoxCRegime, 3, 2, 1, 2);
    layout->setColumnStretch(1, 1);

    connect(StringGridComs, &QTableWidget::currentCellChanged, this, &CommandsPage::StringGridComsClick);
    connect(EditCmd, &QLineEdit::textChanged, this, &CommandsPage::EditCmdChange);
    TellLineBreakerOnLeave(EditCmd);
    connect(GroupBoxCmdDay, &DayGroup::changed, this, &CommandsPage::CheckBoxCClick);
    connect(RadioButtonRB, &QRadioButton::clicked, this, &CommandsPage::RadioButtonRAClick);
    connect(RadioButtonRA, &QRadioButton::clicked, this, &CommandsPage::RadioButtonRAClick);
    connect(ButtonEdit, &QPushButton::clicked, this, &CommandsPage::ButtonEditClick);
    connect(ButtonCmd, &QPushButton::clicked, this, &CommandsPage::ButtonCmdClick);
    for (QWidget *control : std::initializer_list<QWidget *>{StringGridComs, BitBtnAddCmd, BitBtnDelCmd, EditCmd,
                                                             ButtonCmd, ButtonEdit, RadioButtonRB, RadioButtonRA})
        m_context.watchKeys(control);
}

std::array<QRadioButton *, 4> CommandsPage::kinds() const
{
    return {RadioButtonExt, RadioButtonCopy, RadioButtonDel, RadioButtonRen};
}

CommandKind CommandsPage::checkedKind() const
{
    const std::array<CommandKind, 4> order{CommandKind::External, CommandKind::Copy, CommandKind::Delete,
                                           CommandKind::Rename};
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (kinds()[i]->isChecked())
            return order[i];
    }
    return CommandKind::External;
}

QString CommandsPage::CommandDisplayText(const QString &command) const
{
    return pelvo::CommandDisplayText(
        command, {RadioButtonCopy->text(), RadioButtonDel->text(), RadioButtonRen->text(), zentavo::sIn});
}

QString CommandsPage::runMark(const QString &key) const
{
    const QChar when = (key.size() > 3 ? key.at(3).toUpper() : QChar());
    if (when == u'1')
        return RadioButtonRB->text().left(2);
    if (when == u'2')
        return RadioButtonRA->text().left(2);
    return {};
}

void CommandsPage::fill(int row)
{
    const TBlock *job = block();
    const TStringListMyExt none;
    const TStringListMyExt &commands = job ? job->Cmds : none;
    const QString everyDay = GroupBoxCmdDay->EveryDay->text();
    fillGrid(int(commands.size()), row, [&](int i) {
        return QStringList{CommandDisplayText(commands.TailAt(i)), DaysText(commands.ValueAt(i), everyDay),
                           runMark(commands.KeyAt(i))};
    });
}

void CommandsPage::Show()
{
    fill(0);
    StringGridComsClick();
}

void CommandsPage::SetJobEnabled(bool enabled)
{
    StringGridComs->setEnabled(enabled);
    BitBtnAddCmd->setEnabled(enabled);
    StringGridComsClick();
}

void CommandsPage::StringGridComsClick()
{
    const TBlock *job = block();
    const int row = Row();
    const bool have = job && row >= 0 && StringGridComs->isEnabled();
    for (QWidget *control : std::initializer_list<QWidget *>{BitBtnDelCmd, EditCmd, ButtonCmd, ButtonEdit,
                                                             RadioButtonRB, RadioButtonRA, GroupBoxCmd})
        control->setEnabled(have);
    GroupBoxCmdDay->SetUsable(have);
    const QSignalBlocker quiet(EditCmd);
    if (!have) {
        EditCmd->clear();
        return;
    }
    GroupBoxCmdDay->ShowDays(job->Cmds.ValueAt(row));
    GroupBoxCmdDay->SetUsable(true);
    const QString key = job->Cmds.KeyAt(row);
    const QChar when = (key.size() > 3 ? key.at(3).toUpper() : QChar());
    for (QRadioButton *radio : {RadioButtonRB, RadioButtonRA}) {
        radio->setAutoExclusive(false);
        radio->setChecked((radio == RadioButtonRB && when == u'1') || (radio == RadioButtonRA && when == u'2'));
        radio->setAutoExclusive(true);
    }
    setCell(row, 2, runMark(key));
    ShowKind(KindOfCommand(job->Cmds.TailAt(row)));
    EditCmd->setText(CommandDisplayText(job->Cmds.TailAt(row)));
}

void CommandsPage::ShowKind(CommandKind kind)
{
    const std::array<CommandKind, 4> order{CommandKind::External, CommandKind::Copy, CommandKind::Delete,
                                           CommandKind::Rename};
    for (std::size_t i = 0; i < order.size(); ++i)
        kinds()[i]->setChecked(order[i] == kind);
    const bool external = kind == CommandKind::External;
    const bool usable = EditCmd->isEnabled();
    ButtonEdit->setEnabled(usable && !external);
    ButtonCmd->setEnabled(usable && external);
    EditCmd->setReadOnly(!external);
}

void CommandsPage::storeCommand(int row, const QString &command)
{
    const TBlock *job = block();
    storeLine(row, job->Cmds.KeyAt(row) + u'>' + command + u'=' + job->Cmds.ValueAt(row));
}

void CommandsPage::EditCmdChange()
{
    const TBlock *job = block();
    const int row = Row();
    if (!job || row < 0)
        return;
    const QString text = EditCmd->text();
    const CommandKind kind = checkedKind();
    if (kind == CommandKind::External) {
        storeCommand(row, text);
    } else {
        const CommandPaths paths = PathsOfCommand(text);
        storeCommand(row, InternalCommand(kind, paths.from, paths.to));
    }
    // The arguments dialog hands over the stored form; the grid shows every
    // command as it shows it when the job is shown again.
    setCell(row, 0, CommandDisplayText(job->Cmds.TailAt(row)));
}

void CommandsPage::CheckBoxCClick()
{
    if (const TBlock *job = block())
        storeDays(job->Cmds, *GroupBoxCmdDay);
}

void CommandsPage::RadioButtonRAClick()
{
    const TBlock *job = block();
    const int row = Row();
    if (!job || row < 0)
        return;
    const QString key = RadioButtonRA->isChecked() ? AfterKey : BeforeKey;
    storeLine(row, key + job->Cmds.at(row).mid(4));
    setCell(row, 2, runMark(key));
}

bool CommandsPage::ButtonEditClick()
{
    const CommandKind kind = checkedKind();
    const CommandPaths paths = PathsOfCommand(EditCmd->text());
    QRadioButton *caption = kinds()[kind == CommandKind::Copy ? 1 : kind == CommandKind::Delete ? 2 : 3];
    m_pathsDialog.setWindowTitle(caption->text());
    m_pathsDialog.EditFrom->setText(paths.from);
    m_pathsDialog.EditTo->setText(paths.to);
    m_pathsDialog.SetToWanted(kind != CommandKind::Delete);
    if (platform::runDialog(m_pathsDialog) != QDialog::Accepted)
        return false;
    const QString to = kind == CommandKind::Delete ? QString() : m_pathsDialog.EditTo->text();
    EditCmd->setText(InternalCommand(kind, m_pathsDialog.EditFrom->text(), to));
    StringGridComsClick();
    return true;
}

bool CommandsPage::ButtonCmdClick()
{
    platform::FileRequest request;
    request.title = LabelCmd->text();
    request.folder = PickerStart(platform::splitCommandLine(EditCmd->text()).value(0));
    // Programs on Linux have no extension of their own: every file is offered.
    request.filter = zentavo::sFilterComs + QStringLiteral(" (*)");
    const std::optional<QString> chosen = platform::prompter().fileName(request);
    if (!chosen)
        return false;
    // The first blank of an unquoted command ends its program.
    const std::optional<QString> program = platform::programToken(*chosen);
    if (!program) {
        platform::prompter().message(
            {zentavo::sEditorHeader,
             QStringLiteral("A command cannot start a program whose path holds a double quote:\n") + *chosen,
             platform::PromptIcon::Warning,
             platform::PromptButton::Ok,
             {}});
        return false;
    }
    EditCmd->setText(*program);
    return true;
}

void CommandsPage::AddClick()
{
    const TBlock *job = block();
    if (!job)
        return;
    // The kind comes first: a cancelled add never shows a row, and the row
    // selected before stays selected.
    m_kindDialog.setWindowTitle(GroupBoxCmd->title());
    const std::array<QRadioButton *, 4> offered{m_kindDialog.RadioButtonExt, m_kindDialog.RadioButtonCopy,
                                                m_kindDialog.RadioButtonDel, m_kindDialog.RadioButtonRen};
    for (std::size_t i = 0; i < offered.size(); ++i)
        offered[i]->setText(kinds()[i]->text());
    if (platform::runDialog(m_kindDialog) != QDialog::Accepted)
        return;
    const int selected = Row();
    const int row = int(job->Cmds.size());
    {
        EditorDocument::Tentative added(m_context.document);
        m_context.document.addLine(EditorDocument::Tail::Commands, BeforeKey + u'>');
        fill(row);
        StringGridComsClick();
        bool given = false;
        if (m_kindDialog.RadioButtonExt->isChecked()) {
            ShowKind(CommandKind::External);
            EditCmd->setFocus();
            // A program not picked leaves no empty command behind, which would fail the run.
            given = ButtonCmdClick();
        } else {
            const CommandKind kind = m_kindDialog.RadioButtonCopy->isChecked() ? CommandKind::Copy
                : m_kindDialog.RadioButtonDel->isChecked()                     ? CommandKind::Delete
                                                                               : CommandKind::Rename;
            storeCommand(row, templateOf(kind));
            StringGridComsClick();
            // Without its paths the new file command would do nothing.
            given = ButtonEditClick();
        }
        if (given) {
            added.keep();
            return;
        }
    }
    fill(selected);
    StringGridComsClick();
}

void CommandsPage::DelClick()
{
    deleteLine(zentavo::sQuestionDelCmd);
}

} // namespace pelvo
