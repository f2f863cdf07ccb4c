#include "Pelvo.h"

#include "editor/EditorAbout.h"
#include "editor/widgets/ArchivePage.h"
#include "editor/widgets/EditCmdCopy.h"
#include "editor/widgets/EditSource.h"
#include "editor/widgets/JobPages.h"
#include "editor/widgets/PelvoPrint.h"
#include "editor/widgets/UnitSelCmd.h"
#include "help/widgets/ProgramHelp.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/VersionBlock.h"
#include "shared/ConstStr.h"
#include "shared/ZetuUnit.h"
#include "shared/widgets/FormBuilders.h"
#include "shared/widgets/LocalizeForm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace pelvo {

using zentavo::DeleteAmpersand;
using zentavo::sEditorHeader;

namespace {

platform::PromptButton ask(const QString &title, const QString &text, platform::PromptIcon icon,
                           platform::PromptButtons buttons = platform::PromptButton::Ok)
{
    return platform::prompter().message({title, text, icon, buttons, {}});
}

} // namespace

TFormEditor::TFormEditor(bool haveDefaultDat)
    : m_haveDefaultDat(haveDefaultDat)
    , m_context{m_document, [this](QWidget *control) { control->installEventFilter(this); }}
    , m_formSource(std::make_unique<TFormSource>())
    , m_formSelCmd(std::make_unique<TFormSelCmd>())
    , m_formCopy(std::make_unique<TFormCopy>())
    , m_jobPrinter(std::make_unique<QPrinter>())
{
    FormCreate();
}

TFormEditor::~TFormEditor() = default;

void TFormEditor::FormCreate()
{
    setObjectName(QStringLiteral("FormEditor"));
    setWindowTitle(QStringLiteral("Datafile editor"));
    createMenus();
    createControls();
    zentavo::LocalizeForm(this);
    for (QWidget *dialog : std::initializer_list<QWidget *>{m_formSource.get(), m_formSelCmd.get(), m_formCopy.get()})
        dialog->setParent(this, dialog->windowFlags());

    m_pages->TakeSharedCaptions();
    ArchivePage &archive = *m_pages->Archive;
    archive.LabelSeparator->setText(QStringLiteral("('|' - ") + archive.LabelSeparator->text() + u')');
    LabelJob->setText(zentavo::sJob);
    const std::pair<QAction *, QAction *> popupItems[] = {{PopupNameNew, ENew},
                                                          {PopupNameCopy, ECopy},
                                                          {PopupNamePaste, EPaste},
                                                          {PopupNameDel, EDel},
                                                          {PopupNameRen, ERen}};
    for (const auto &[item, command] : popupItems)
        item->setText(DeleteAmpersand(command->text()));
    for (QAction *command : {ENew, ECopy, EPaste, EDel, HDoc})
        command->setToolTip(DeleteAmpersand(command->text()));
    m_pages->setCurrentIndex(0);
    showStatus();
    zentavo::forms::singleBorder(this);
}

void TFormEditor::createMenus()
{
    const auto command = [this](QMenu *menu, const char *name, const QString &text, const QKeySequence &key,
                                void (TFormEditor::*handler)()) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        if (handler)
            connect(action, &QAction::triggered, this, handler);
        return action;
    };
    FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    FNew = command(FileMenu, "FNew", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N),
                   &TFormEditor::FNewClick);
    FOpen = command(FileMenu, "FOpen", QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O),
                    &TFormEditor::OpenDatFile);
    FileMenu->addSeparator();
    FSave = command(FileMenu, "FSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S),
                    &TFormEditor::FSaveClick);
    FSaveAss = command(FileMenu, "FSaveAss", QStringLiteral("Save &as..."), {}, &TFormEditor::FSaveAssClick);
    FileMenu->addSeparator();
    FPrint = command(FileMenu, "FPrint", QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P),
                     &TFormEditor::TBFPrintClick);
    FileMenu->addSeparator();
    FNew->setToolTip(QStringLiteral("New file"));
    FOpen->setToolTip(QStringLiteral("Open file"));
    FSave->setToolTip(QStringLiteral("Save file"));
    FPrint->setToolTip(QStringLiteral("Print file"));
    FExit = command(FileMenu, "FExit", QStringLiteral("E&xit"), {}, nullptr);
    connect(FExit, &QAction::triggered, this, &QWidget::close);

    EditMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    EditMenu->setObjectName(QStringLiteral("EditMenu"));
    ENew = command(EditMenu, "ENew", QStringLiteral("&New job"), {}, &TFormEditor::ENewClick);
    ECopy = command(EditMenu, "ECopy", QStringLiteral("&Copy job"), {}, &TFormEditor::ECopyClick);
    EPaste = command(EditMenu, "EPaste", QStringLiteral("&Paste job"), {}, &TFormEditor::EPasteClick);
    EDel = command(EditMenu, "EDel", QStringLiteral("&Delete job"), {}, &TFormEditor::EDelClick);
    EditMenu->addSeparator();
    ERen = command(EditMenu, "ERen", QStringLiteral("&Rename job"), {}, &TFormEditor::ERenClick);

    HelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    HDoc = command(HelpMenu, "HDoc", QStringLiteral("&The Zentavo Help"), {}, &TFormEditor::HDocClick);
    // What's-this mode; the help installed below makes it a check item with Shift+F1.
    HPrompt = command(HelpMenu, "HPrompt", QStringLiteral("&What this such?"), {}, nullptr);
    HAbout = command(HelpMenu, "HAbout", QStringLiteral("&About..."), {}, &TFormEditor::HAboutClick);
    EPaste->setEnabled(false);

    QStyle *look = style();
    FNew->setIcon(zentavo::forms::commandIcon(look, QStyle::SP_FileIcon));
    FOpen->setIcon(zentavo::forms::commandIcon(look, QStyle::SP_DialogOpenButton));
    FSave->setIcon(zentavo::forms::commandIcon(look, QStyle::SP_DialogSaveButton));
    FPrint->setIcon(zentavo::forms::commandIcon(look, QStyle::SP_FileDialogDetailedView));
    ENew->setIcon(zentavo::forms::commandIcon(look, QStyle::SP_FileDialogNewFolder));
    ECopy->setIcon(zentavo::forms::commandIcon(look, QStyle::SP_FileLinkIcon));
    EPaste->setIcon(zentavo::forms::commandIcon(look, QStyle::SP_ArrowDown));
    EDel->setIcon(zentavo::forms::commandIcon(look, QStyle::SP_TrashIcon));
    HDoc->setIcon(zentavo::forms::commandIcon(look, QStyle::SP_DialogHelpButton));
    HPrompt->setIcon(zentavo::forms::commandIcon(look, QStyle::SP_TitleBarContextHelpButton));
    TBPrev = new QAction(zentavo::forms::commandIcon(look, QStyle::SP_ArrowBack), QStringLiteral("Previous job"), this);
    TBPrev->setObjectName(QStringLiteral("TBPrev"));
    connect(TBPrev, &QAction::triggered, this, &TFormEditor::PrevBlock);
    TBNext = new QAction(zentavo::forms::commandIcon(look, QStyle::SP_ArrowForward), QStringLiteral("Next job"), this);
    TBNext->setObjectName(QStringLiteral("TBNext"));
    connect(TBNext, &QAction::triggered, this, &TFormEditor::NextBlock);

    QToolBar *ToolBar = addToolBar(QStringLiteral("ToolBar"));
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->addActions({FNew, FOpen, FSave, FPrint});
    ToolBar->addSeparator();
    ToolBar->addActions({ENew, ECopy, EPaste, EDel, TBPrev, TBNext});
    ToolBar->addSeparator();
    ToolBar->addActions({HPrompt, HDoc});
    help::InstallHelp(this, 0, HPrompt);
}

void TFormEditor::createControls()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    auto *jobRow = new QHBoxLayout;
    LabelJob = new QLabel(central);
    LabelJob->setObjectName(QStringLiteral("LabelJob"));
    ComboBoxName = new QComboBox(central);
    ComboBoxName->setObjectName(QStringLiteral("ComboBoxName"));
    ComboBoxName->setMinimumWidth(300);
    LabelJob->setBuddy(ComboBoxName);
    jobRow->addWidget(LabelJob);
    jobRow->addSpacing(10);
    jobRow->addWidget(ComboBoxName, 1);
    layout->addLayout(jobRow);
    connect(ComboBoxName, &QComboBox::activated, this, [this] { CBNameChange(true); });
    ComboBoxName->installEventFilter(this);

    const auto popupItem = [this](const char *name, void (TFormEditor::*handler)()) {
        auto *item = new QAction(ComboBoxName);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, this, handler);
        ComboBoxName->addAction(item);
        return item;
    };
    PopupNameNew = popupItem("PopupNameNew", &TFormEditor::ENewClick);
    PopupNameCopy = popupItem("PopupNameCopy", &TFormEditor::ECopyClick);
    PopupNamePaste = popupItem("PopupNamePaste", &TFormEditor::EPasteClick);
    PopupNameDel = popupItem("PopupNameDel", &TFormEditor::EDelClick);
    PopupNameRen = popupItem("PopupNameRen", &TFormEditor::ERenClick);
    PopupNamePaste->setEnabled(false);
    ComboBoxName->setContextMenuPolicy(Qt::ActionsContextMenu);

    m_pages = new TJobPages(m_context, *m_formSource, *m_formSelCmd, *m_formCopy, central);
    m_pages->setMinimumSize(730, 360);
    layout->addWidget(m_pages, 1);

    auto *buttons = new QHBoxLayout;
    ButtonOk = new QPushButton(QStringLiteral("Ok"), central);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonCancel = new QPushButton(QStringLiteral("Cancel"), central);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    buttons->addStretch();
    buttons->addWidget(ButtonOk);
    buttons->addWidget(ButtonCancel);
    layout->addLayout(buttons);
    connect(ButtonOk, &QPushButton::clicked, this, &TFormEditor::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QWidget::close);
    ButtonOk->installEventFilter(this);
    ButtonCancel->installEventFilter(this);
    setCentralWidget(central);

    m_status = new QLabel(this);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(false);
}

bool TFormEditor::JobsModified()
{
    if (m_pages->EditsModified())
        m_document.setModified(true);
    return m_document.modified();
}

QString TFormEditor::StatusText() const
{
    return m_status->text();
}

void TFormEditor::showStatus()
{
    m_status->setText(QString::number(m_document.current() + 1) + QStringLiteral(" / ")
                      + QString::number(m_document.count()));
}

void TFormEditor::showJobNames()
{
    ComboBoxName->clear();
    ComboBoxName->addItems(m_document.names());
    ComboBoxName->setCurrentIndex(m_document.current());
}

void TFormEditor::updateNavigation()
{
    const bool enabled = ComboBoxName->isEnabled();
    TBPrev->setEnabled(enabled && m_document.hasPrevious());
    TBNext->setEnabled(enabled && m_document.hasNext());
}

void TFormEditor::setCaptionFromFile()
{
    setWindowTitle(sEditorHeader + QStringLiteral(" - ") + platform::fileNamePart(m_document.fileName()));
}

void TFormEditor::ClearJobs()
{
    ComboBoxName->clear();
    m_pages->ShowJob();
    m_status->clear();
}

bool TFormEditor::ReadFDat()
{
    const bool read = m_document.read();
    ClearJobs();
    setCaptionFromFile();
    if (!read)
        return false;
    showJobNames();
    selectJob(m_document.current(), false);
    m_pages->ClearEditMarks();
    m_document.setModified(false);
    return true;
}

void TFormEditor::showJobAt(int index)
{
    if (index != m_document.current())
        selectJob(index, false);
    else
        ComboBoxName->setCurrentIndex(index);
}

void TFormEditor::showIncomplete(int index, MissingField field)
{
    showJobAt(index);
    const QString caption = m_pages->ShowMissing(field);
    ask(sEditorHeader, zentavo::sField1 + caption + zentavo::sField2, platform::PromptIcon::Warning);
}

void TFormEditor::showRefusal(const SaveRefusal &refusal)
{
    showJobAt(refusal.job);
    const QString place = m_pages->ShowPlace(refusal.place, refusal.line);
    QString where = QStringLiteral("Job \"%1\"").arg(m_document.names().at(refusal.job));
    if (!place.isEmpty())
        where += QStringLiteral(", ") + place;
    ask(QStringLiteral("The job cannot be saved"), where + QStringLiteral(":\n") + refusal.reason + u'.',
        platform::PromptIcon::Warning);
}

bool TFormEditor::CBNameChange(bool check)
{
    return selectJob(ComboBoxName->currentIndex(), check);
}

bool TFormEditor::selectJob(int index, bool check)
{
    if (check) {
        if (const TBlock *left = m_document.currentBlock()) {
            const MissingField missing = missingField(*left);
            if (missing != MissingField::None) {
                showIncomplete(m_document.current(), missing);
                return false;
            }
        }
    }
    JobsModified();
    m_document.setCurrent(index);
    ComboBoxName->setCurrentIndex(m_document.current());
    showStatus();
    m_pages->ShowJob();
    updateNavigation();
    return true;
}

bool TFormEditor::allJobsComplete()
{
    if (!CBNameChange(true))
        return false;
    for (int i = 0; i < m_document.count(); ++i) {
        const MissingField missing = missingField(m_document.blocks()[std::size_t(i)]);
        if (missing != MissingField::None) {
            showIncomplete(i, missing);
            return false;
        }
    }
    return true;
}

void TFormEditor::EnableForm()
{
    for (QAction *command : {FSave, FSaveAss, FPrint, ECopy, EDel, ERen, PopupNameCopy, PopupNameDel, PopupNameRen})
        command->setEnabled(true);
    ComboBoxName->setEnabled(true);
    m_pages->SetJobEnabled(true);
    updateNavigation();
}

void TFormEditor::DisableForm()
{
    for (QAction *command :
         {FSave, FSaveAss, FPrint, ECopy, EDel, ERen, PopupNameCopy, PopupNameDel, PopupNameRen, TBPrev, TBNext})
        command->setEnabled(false);
    ComboBoxName->setEnabled(false);
    m_pages->SetJobEnabled(false);
}

QString TFormEditor::askJobName(QAction *command, const QString &current)
{
    const std::optional<QString> answer
        = platform::prompter().input({DeleteAmpersand(command->text()), zentavo::sJob + u':', current});
    if (!answer || answer->isEmpty())
        return {};
    const QString problem = jobNameProblem(*answer);
    if (!problem.isEmpty()) {
        ask(DeleteAmpersand(command->text()), problem, platform::PromptIcon::Warning);
        return {};
    }
    return *answer;
}

void TFormEditor::ENewClick()
{
    if (!m_document.empty() && !CBNameChange(true))
        return;
    const QString name = askJobName(ENew, QString());
    if (name.isEmpty())
        return;
    const bool wasEmpty = m_document.empty();
    m_document.addJob(name);
    if (wasEmpty)
        EnableForm();
    showJobNames();
    selectJob(m_document.current(), false);
    m_pages->FocusArchiveName();
}

void TFormEditor::ECopyClick()
{
    if (!m_document.currentBlock() || !CBNameChange(true))
        return;
    m_document.copyCurrent();
    for (QAction *paste : {EPaste, PopupNamePaste})
        paste->setEnabled(true);
}

void TFormEditor::EPasteClick()
{
    if (!m_document.canPaste())
        return;
    // The job left must be complete too, or it could be saved without its archive or sources.
    if (m_document.currentBlock() && !CBNameChange(true))
        return;
    if (m_document.empty())
        EnableForm();
    m_document.paste();
    showJobNames();
    selectJob(m_document.current(), false);
}

void TFormEditor::EDelClick()
{
    if (!m_document.currentBlock())
        return;
    const platform::PromptButton answer
        = ask(zentavo::DeleteAmpersand(EDel->text()), zentavo::sQuestionDelArch + u'\n' + m_document.currentName(),
              platform::PromptIcon::Question, platform::PromptButton::Yes | platform::PromptButton::No);
    if (answer != platform::PromptButton::Yes)
        return;
    m_document.removeCurrent();
    if (m_document.empty()) {
        ClearJobs();
        DisableForm();
        showStatus();
        return;
    }
    showJobNames();
    selectJob(m_document.current(), false);
}

void TFormEditor::ERenClick()
{
    if (!m_document.currentBlock())
        return;
    const QString name = askJobName(ERen, m_document.currentName());
    if (!name.isEmpty() && m_document.renameCurrent(name))
        showJobNames();
    ComboBoxName->setCurrentIndex(m_document.current());
}

void TFormEditor::PrevBlock()
{
    if (m_document.hasPrevious())
        selectJob(m_document.current() - 1, true);
}

void TFormEditor::NextBlock()
{
    if (m_document.hasNext())
        selectJob(m_document.current() + 1, true);
}

bool TFormEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_PageUp && m_document.hasPrevious()) {
            PrevBlock();
            return true;
        }
        if (key == Qt::Key_PageDown && m_document.hasNext()) {
            NextBlock();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormEditor::TBFPrintClick()
{
    PrintJobs(*m_jobPrinter, m_document.names(), m_document.blocks(), m_document.fileName());
}

void TFormEditor::HDocClick()
{
    help::ShowHelpTopic(QStringLiteral("EdMainWindow"));
}

void TFormEditor::HAboutClick()
{
    const QString text
        = EditorAboutText(platform::VersionBlock::ofFile(platform::siblingProgram(QStringLiteral("Zentavo"))),
                          platform::VersionBlock::ofRunningProgram());
    ask(DeleteAmpersand(HAbout->text()), text, platform::PromptIcon::Information);
}

} // namespace pelvo
