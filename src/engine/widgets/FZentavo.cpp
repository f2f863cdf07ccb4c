#include "FZentavo.h"

#include "engine/ComponentsAbout.h"
#include "engine/JobFileReader.h"
#include "engine/widgets/QueuedRunView.h"
#include "engine/widgets/ZetuPause.h"
#include "help/HelpRouter.h"
#include "help/widgets/ProgramHelp.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/ProgramStarter.h"
#include "platform/Prompter.h"
#include "platform/VersionBlock.h"
#include "platform/WindowMessages.h"
#include "platform/widgets/DialogRunner.h"
#include "platform/widgets/WebPage.h"
#include "report/ReportFile.h"
#include "report/ReportLines.h"
#include "report/ReportText.h"
#include "report/widgets/JobDescriptionPrinter.h"
#include "report/widgets/ReportLineDelegate.h"
#include "report/widgets/ReportLineHint.h"
#include "report/widgets/ViewRep.h"
#include "settings/widgets/OpenSettings.h"
#include "settings/widgets/VorrinUnit.h"
#include "shared/ConstStr.h"
#include "shared/DurationText.h"
#include "shared/SuiteMessages.h"
#include "shared/ZetuUnit.h"
#include "shared/widgets/FormBuilders.h"
#include "shared/widgets/LocalizeForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <cstdio>

namespace zentavo {

namespace {

// How long a message of an automatic run waits for somebody to answer it.
constexpr int UnattendedMessageMs = 60000;

platform::PromptButton showMessage(const QString &title, const QString &text, platform::PromptIcon icon,
                                   platform::PromptButtons buttons = platform::PromptButton::Ok)
{
    return platform::prompter().message({title, text, icon, buttons, {}});
}

QString elapsedText(const QDateTime &since)
{
    return DurationText(since.secsTo(platform::now()));
}

} // namespace

// What the end of an automatic run does through the window.
class TFormZentavo::EndActions final : public RunEndWindow {
public:
    explicit EndActions(TFormZentavo &form) : m_form(form) {}
    bool printReport(const QStringList &lines) override
    {
        m_form.FormRep().setWindowTitle(sReport);
        m_form.FormRep().SetLines(lines);
        return m_form.FormRep().BitBtnPrnClick(TFormRep::PrintSender::Timer);
    }
    void closeWindow() override { m_form.close(); }

private:
    TFormZentavo &m_form;
};

TFormZentavo::TFormZentavo(VorrinSettings stored, ZentavoSettings settings, SettingsLoader loadSettings,
                           const QString &productTitle, StartRequest start)
    : m_stored(std::move(stored))
    , m_settings(std::move(settings))
    , m_loadSettings(std::move(loadSettings))
    , m_productTitle(productTitle)
    , m_start(std::move(start))
    , m_endActions(std::make_unique<EndActions>(*this))
    , m_session(std::make_unique<RunSession>(
          *this, *m_endActions, m_productTitle,
          [this](RunView &session) { return std::make_unique<QueuedRunView>(*this, session); }))
    , m_jobPrinter(std::make_unique<QPrinter>())
{
    FormCreate();
}

TFormZentavo::~TFormZentavo()
{
    // The worker writes to this window: it ends before the window's parts go.
    m_session.reset();
}

void TFormZentavo::FormCreate()
{
    setObjectName(QStringLiteral("FormZentavo"));
    setWindowTitle(CaptionZentavo);
    createMenus();
    createControls();
    LocalizeForm(this);

    LabelJob->setText(sJob);
    LabelFile->setText(DeleteAmpersand(FileMenu->title()));
    LabelNameFile->clear();
    GroupBoxRep->setTitle(DeleteAmpersand(ReportMenu->title()));
    BitBtnCancel->setText(sButClose);
    RPrint->setText(m_commands.at(3)->text());
    // QMainWindow lays out its parts itself: its size is fixed on the whole.
    forms::singleBorder(this);

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(1000);
    connect(Timer, &QTimer::timeout, this, &TFormZentavo::TimerTimer);
    // The end is finished as soon as the worker tells it, after the run's
    // last report line; the clock's tick catches a run that was broken off.
    connect(&Runs().State(), &RunState::ended, this, &TFormZentavo::TimerTimer, Qt::QueuedConnection);
    Timer->start();
}

void TFormZentavo::createMenus()
{
    const auto command = [this](QMenu *menu, const QString &name, const QString &text, const QKeySequence &key,
                                void (TFormZentavo::*handler)()) {
        QAction *action = menu->addAction(text);
        action->setObjectName(name);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    QAction *FOpen = command(FileMenu, QStringLiteral("FOpen"), QStringLiteral("&Open..."),
                             QKeySequence(Qt::CTRL | Qt::Key_O), &TFormZentavo::TBFOpenClick);
    QAction *FEdit = command(FileMenu, QStringLiteral("FEdit"), QStringLiteral("&Edit..."), QKeySequence(Qt::Key_F2),
                             &TFormZentavo::TBFEditClick);
    FRun = command(FileMenu, QStringLiteral("FRun"), QStringLiteral("&Run"), QKeySequence(Qt::Key_F9),
                   &TFormZentavo::TBFRunClick);
    FPrint = command(FileMenu, QStringLiteral("FPrint"), QStringLiteral("&Print..."), {}, &TFormZentavo::TBFPrintClick);
    FileMenu->addSeparator();
    QAction *FExit = FileMenu->addAction(QStringLiteral("E&xit"));
    FExit->setObjectName(QStringLiteral("FExit"));
    connect(FExit, &QAction::triggered, this, &QWidget::close);

    ReportMenu = menuBar()->addMenu(QStringLiteral("&Report"));
    ReportMenu->setObjectName(QStringLiteral("ReportMenu"));
    QAction *RLoad = command(ReportMenu, QStringLiteral("RLoad"), QStringLiteral("&Load"),
                             QKeySequence(Qt::CTRL | Qt::Key_L), &TFormZentavo::TBRLoadClick);
    RPrint = command(ReportMenu, QStringLiteral("RPrint"), QStringLiteral("&Print..."),
                     QKeySequence(Qt::CTRL | Qt::Key_P), &TFormZentavo::RPrintClick);

    OptionsMenu = menuBar()->addAction(QStringLiteral("&Options"));
    OptionsMenu->setObjectName(QStringLiteral("OptionsMenu"));
    connect(OptionsMenu, &QAction::triggered, this, &TFormZentavo::OptionsMenuClick);

    HelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    QAction *HDoc
        = command(HelpMenu, QStringLiteral("HDoc"), QStringLiteral("&The Zentavo Help"), {}, &TFormZentavo::HDocClick);
    QAction *HPrompt = HelpMenu->addAction(QStringLiteral("&What this such?"));
    HPrompt->setObjectName(QStringLiteral("HPrompt"));
    command(HelpMenu, QStringLiteral("HUpdate"), QStringLiteral("Check &Update"), {}, &TFormZentavo::HUpdateClick);
    HelpMenu->addSeparator();
    QAction *HAbout
        = command(HelpMenu, QStringLiteral("HAbout"), QStringLiteral("&About..."), {}, &TFormZentavo::HAboutClick);

    FOpen->setIcon(forms::commandIcon(style(), QStyle::SP_DialogOpenButton));
    FRun->setIcon(forms::commandIcon(style(), QStyle::SP_MediaPlay));
    RLoad->setIcon(forms::commandIcon(style(), QStyle::SP_FileDialogDetailedView));
    RPrint->setIcon(forms::commandIcon(style(), QStyle::SP_FileIcon));
    QToolBar *ToolBar = addToolBar(QStringLiteral("ToolBar"));
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->addActions({FOpen, FEdit, FRun});
    ToolBar->addSeparator();
    ToolBar->addActions({RLoad, RPrint});
    ToolBar->addSeparator();
    ToolBar->addAction(OptionsMenu);
    ToolBar->addSeparator();
    ToolBar->addAction(HPrompt);
    QAction *TBHelp
        = ToolBar->addAction(forms::commandIcon(style(), QStyle::SP_DialogHelpButton), DeleteAmpersand(HDoc->text()));
    TBHelp->setObjectName(QStringLiteral("TBHelp"));
    connect(TBHelp, &QAction::triggered, this, &TFormZentavo::HDocClick);
    HPrompt->setIcon(forms::commandIcon(style(), QStyle::SP_TitleBarContextHelpButton));
    HPrompt->setToolTip(DeleteAmpersand(HPrompt->text()));
    help::InstallHelp(this, 0, HPrompt);

    m_commands = {FOpen, FEdit, FRun, FPrint, FExit, RLoad, RPrint, OptionsMenu, HAbout};
}

void TFormZentavo::createControls()
{
    auto *central = new QWidget(this);
    auto *grid = new QGridLayout(central);
    LabelFile = new QLabel(central);
    LabelFile->setObjectName(QStringLiteral("LabelFile"));
    LabelNameFile = new QLabel(central);
    LabelNameFile->setObjectName(QStringLiteral("LabelNameFile"));
    QFont bold = LabelNameFile->font();
    bold.setBold(true);
    LabelNameFile->setFont(bold);
    LabelJob = new QLabel(central);
    LabelJob->setObjectName(QStringLiteral("LabelJob"));
    LabelNameJob = new QLabel(central);
    LabelNameJob->setObjectName(QStringLiteral("LabelNameJob"));
    QFont larger = bold;
    larger.setPointSizeF(bold.pointSizeF() * 1.2);
    LabelNameJob->setFont(larger);
    grid->addWidget(LabelFile, 0, 0);
    grid->addWidget(LabelNameFile, 0, 1);
    grid->addWidget(LabelJob, 1, 0);
    grid->addWidget(LabelNameJob, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(10);

    GroupBoxRep = new QGroupBox(central);
    GroupBoxRep->setObjectName(QStringLiteral("GroupBoxRep"));
    ListBoxRep = new QListWidget(GroupBoxRep);
    ListBoxRep->setObjectName(QStringLiteral("ListBoxRep"));
    ListBoxRep->setItemDelegate(new ReportLineDelegate(ListBoxRep));
    ListBoxRep->setUniformItemSizes(true);
    ListBoxRep->setMinimumSize(600, 300);
    ReportLineHint::install(ListBoxRep);
    auto *reportLayout = new QVBoxLayout(GroupBoxRep);
    reportLayout->addWidget(ListBoxRep);
    grid->addWidget(GroupBoxRep, 2, 0, 1, 2);

    LabelFiles = new QLabel(central);
    LabelFiles->setObjectName(QStringLiteral("LabelFiles"));
    GaugeFile = new QProgressBar(central);
    GaugeFile->setObjectName(QStringLiteral("GaugeFile"));
    Gauge = new QProgressBar(central);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    BitBtnCancel = new QPushButton(central);
    BitBtnCancel->setObjectName(QStringLiteral("BitBtnCancel"));
    connect(BitBtnCancel, &QPushButton::clicked, this, &TFormZentavo::BitBtnCancelClick);
    grid->addWidget(LabelFiles, 3, 0, 1, 2);
    grid->addWidget(GaugeFile, 4, 0, 1, 2);
    grid->addWidget(Gauge, 5, 0, 1, 2);
    grid->addWidget(BitBtnCancel, 6, 1, Qt::AlignRight);
    setCentralWidget(central);

    const int widths[3] = {100, 100, 50};
    for (int i = 0; i < 3; ++i) {
        StatusPanel[i] = new QLabel(this);
        StatusPanel[i]->setMinimumWidth(widths[i]);
        statusBar()->addWidget(StatusPanel[i], i == 2 ? 1 : 0);
    }
    StatusPanel[1]->setText(QStringLiteral("0"));
    statusBar()->setToolTip(QStringLiteral("Process time; number of current job /  jobs quantity"));
    statusBar()->setSizeGripEnabled(false);

    m_formRep = std::make_unique<TFormRep>(nullptr);
}

void TFormZentavo::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Only the first showing: a window shown again after a run must not
    // offer the automatic run's start dialog once more.
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFormZentavo::FormShow()
{
    if (ReportLines().isEmpty())
        RPrint->setEnabled(false);
    if (m_start.HelpAsked)
        help::ShowHelpTopic(QStringLiteral("CommandLine"));
    const platform::VersionBlock version = platform::VersionBlock::ofRunningProgram();
    QString versionText;
    if (!version.isEmpty()) {
        versionText = version.productName() + u' ' + version.productVersion() + QStringLiteral("   [")
            + version.fileVersion() + u']';
    }
    StatusPanel[2]->setText(versionText);
    if (!m_messages) {
        m_messages = std::make_unique<platform::MessageWindow>();
        // Without the caption (another main program shows it) the window
        // simply gets no messages.
        m_messages->setCaption(CaptionZentavo);
        connect(m_messages.get(), &platform::MessageWindow::messageReceived, this,
                [this](const QString &name, quint64 wParam) {
                    if (name == MsgUpdateVorrin)
                        UpdateVorrin(wParam);
                });
    }
    if (Runs().State().AutoRun()) {
        m_session->RequestRun();
        if (!ChooseJobs(this, windowTitle(), m_document.jobs, m_settings, m_session->RunTime())) {
            Runs().State().withdraw();
            close();
        }
    }
}

void TFormZentavo::TimerTimer()
{
    if (Runs().State().RunBusy())
        showElapsed();
    if (!m_session->TakeEndedRun())
        return;
    showElapsed();
    unsetCursor();
    setCommandsEnabled(true);
    GaugeFile->setValue(0);
    Gauge->setValue(0);
    showResult(m_session->Result());
    // The archive progress in the title is over: the printing and mailing
    // after the run must not show the last job as still under way.
    setWindowTitle(CaptionZentavo);
    m_session->FinishRun(m_settings.Mail);
    if (m_pendingJobFile) {
        OpenJobFile(*std::exchange(m_pendingJobFile, std::nullopt), false);
    }
}

void TFormZentavo::showElapsed()
{
    StatusPanel[0]->setText(elapsedText(m_session->RunTime()));
}

void TFormZentavo::showResult(int result)
{
    BitBtnCancel->setText(sButClose);
    const QStyle::StandardPixmap glyphs[3]
        = {QStyle::SP_DialogApplyButton, QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical};
    BitBtnCancel->setIcon(style()->standardIcon(glyphs[std::clamp(result, 0, 2)]));
}

void TFormZentavo::setCommandsEnabled(bool enabled)
{
    for (QAction *action : std::as_const(m_commands))
        action->setEnabled(enabled);
    for (QAction *menu : menuBar()->actions())
        menu->setEnabled(enabled);
    // Without a job file there is nothing to run or print.
    FRun->setEnabled(enabled && m_jobFileRead);
    FPrint->setEnabled(enabled && m_jobFileRead);
}

void TFormZentavo::BitBtnCancelClick()
{
    if (!Runs().Busy()) {
        close();
        return;
    }
    const bool stopped = confirmBreak(true, [this] {
        LabelFiles->setText(sResizeReport);
        repaint();
    });
    if (stopped)
        LabelFiles->clear();
}

bool TFormZentavo::FormCloseQuery()
{
    return !Runs().Busy() || confirmBreak(false);
}

bool TFormZentavo::confirmBreak(bool stopCopy, const std::function<void()> &afterClose)
{
    // The run makes no progress while the question waits for an answer.
    Runs().State().hold();
    const platform::PromptButton answer = showMessage(m_productTitle, sQuestionBreak, platform::PromptIcon::Question,
                                                      platform::PromptButton::Yes | platform::PromptButton::No);
    if (answer != platform::PromptButton::Yes) {
        Runs().State().release();
        return false;
    }
    BitBtnCancel->setText(sButBreaking);
    Runs().Break(stopCopy, afterClose);
    return true;
}

void TFormZentavo::closeEvent(QCloseEvent *event)
{
    if (m_waitingForEditor || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TFormZentavo::FormClose()
{
    // A report mail still waiting for its server ends now, with its report
    // lines, rather than outliving the window.
    m_session->AbortMail();
    m_messages.reset();
    if (platform::findWindow(CaptionTrayVorrin))
        platform::postMessage(CaptionTrayVorrin, MsgRunZentavo, 0);
    m_formRep->close();
}

void TFormZentavo::TBFRunClick()
{
    if (!m_jobFileRead)
        return;
    if (!m_session->CanStart())
        return;
    StatusPanel[0]->clear();
    m_session->ClearReport();
    ListBoxRep->clear();
    Runs().State().request();
    m_session->RequestRun();
    if (ChooseJobs(this, windowTitle(), m_document.jobs, m_settings, m_session->RunTime()))
        StartWorker();
    else
        Runs().State().withdraw();
}

void TFormZentavo::StartWorker()
{
    m_session->Start(m_document.jobs, m_settings.Run, m_document.path);
}

bool TFormZentavo::OpenJobFile(const QString &path, bool cancelAutoRun, const QString &errorTitle)
{
    m_document.path = path;
    return ReadJobFile(cancelAutoRun, errorTitle);
}

bool TFormZentavo::ReadJobFile(bool cancelAutoRun, const QString &errorTitle)
{
    m_jobFileRead = ReadFDat(m_document.path, m_document.jobs);
    m_formRep->SetJobFileName(m_document.path);
    LabelNameFile->setText(m_jobFileRead ? m_document.path : sNotLoad);
    StatusPanel[1]->setText(QString::number(m_document.jobs.size()));
    FRun->setEnabled(m_jobFileRead);
    FPrint->setEnabled(m_jobFileRead);
    if (m_jobFileRead || m_document.path.isEmpty())
        return !m_document.jobs.empty();

    platform::MessageRequest request{errorTitle.isEmpty() ? windowTitle() : errorTitle,
                                     sReadError + u' ' + m_document.path,
                                     platform::PromptIcon::Error,
                                     platform::PromptButton::Ok,
                                     {}};
    const bool unattended = cancelAutoRun && Runs().State().AutoRun();
    if (unattended) {
        // Nobody may be there to read it: the box closes by itself, and a
        // run that was to close the program afterwards ends it, failed.
        // Where no box can be seen, the prompter itself writes the text to
        // standard error.
        if (platform::prompter().canBeSeen())
            std::fprintf(stderr, "%s\n", qUtf8Printable(request.text));
        request.timeoutMs = UnattendedMessageMs;
    }
    platform::prompter().message(request);
    if (cancelAutoRun) {
        m_session->CancelAutoRun();
        m_loadFailedUnattended = unattended && m_settings.Run.CheckBoxAClose;
    }
    return false;
}

void TFormZentavo::TBFOpenClick()
{
    platform::FileRequest request;
    request.folder = m_document.path.isEmpty() ? platform::programFolder() : platform::folderPart(m_document.path);
    request.filter = JobFileFilter();
    request.defaultSuffix = QStringLiteral("dat");
    const std::optional<QString> chosen = platform::prompter().fileName(request);
    if (!chosen)
        return;
    OpenJobFile(*chosen, false, sRes.at(1));
}

void TFormZentavo::TBFEditClick()
{
    // The job file goes over as one argument of its own: a path may hold
    // double quotes and blanks that no command line would keep intact.
    platform::ProgramRequest request;
    request.program = platform::siblingProgram(QStringLiteral("Pelvaro"));
    request.arguments = QStringList{m_document.path};
    // The wait has no limit; meanwhile the window is repainted, and a click
    // or key meant for it is dropped by the disabled window instead of
    // acting on the old jobs once the editor is gone.
    request.wait = true;
    request.processEvents = true;
    m_waitingForEditor = true;
    setEnabled(false);
    const platform::ProgramRun run = platform::programStarter().start(request, {});
    setEnabled(true);
    m_waitingForEditor = false;
    if (run == platform::ProgramRun::NotStarted)
        showMessage(windowTitle(), sRunVorrinError + u'\n' + sEditorHeader, platform::PromptIcon::Error);
    ReadJobFile(true);
}

void TFormZentavo::TBFPrintClick()
{
    // The description shows the file as it is now, not as it was last read.
    if (ReadJobFile(false))
        PrintJob(*m_jobPrinter, m_document.path, m_document.jobs);
}

void TFormZentavo::TBRLoadClick()
{
    const QString path = platform::fileInFolder(m_settings.Run.ButtonRepDir, ReportFile::FileName);
    const std::optional<QStringList> lines = report::ReadReportText(path);
    if (!lines) {
        showMessage(windowTitle(), sReadError + u' ' + path, platform::PromptIcon::Error);
        return;
    }
    m_session->LoadReport(*lines);
    ListBoxRep->clear();
    ListBoxRep->addItems(*lines);
    ReportMenu->setEnabled(true);
    RPrint->setEnabled(true);
    if (ListBoxRep->count() > 0)
        ListBoxRep->setCurrentRow(ListBoxRep->count() - 1);
}

void TFormZentavo::RPrintClick()
{
    m_formRep->setWindowTitle(sReport);
    m_formRep->SetLines(ReportLines());
    m_formRep->BitBtnPrnClick(TFormRep::PrintSender::User);
}

void TFormZentavo::OptionsMenuClick()
{
    TFormVorrin dialog(m_stored, this);
    connect(&dialog, &TFormVorrin::settingsSaved, this, &TFormZentavo::takeSettings);
    dialog.PageControl->setCurrentIndex(1);
    OpenSettingsDialog(dialog, SettingsProgram::Zentavo);
}

void TFormZentavo::HDocClick()
{
    help::ShowHelpContents();
}

void TFormZentavo::HUpdateClick()
{
    platform::OpenProductWebPage(m_productTitle);
}

void TFormZentavo::HAboutClick()
{
    const QString title = DeleteAmpersand(m_commands.last()->text());
    const platform::VersionBlock version = platform::VersionBlock::ofRunningProgram();
    if (version.isEmpty()) {
        showMessage(title, QString(), platform::PromptIcon::Information);
        return;
    }
    QString text = AboutLines(
        version, {AboutPiece::Product, AboutPiece::Description, AboutPiece::FileVersion, AboutPiece::Copyright});
    text += ComponentsAbout();
    showMessage(title, text, platform::PromptIcon::Information);
}

void TFormZentavo::ReloadSettings()
{
    if (m_loadSettings)
        takeSettings(m_loadSettings(m_stored));
}

void TFormZentavo::takeSettings(const VorrinSettings &stored)
{
    m_stored = stored;
    m_settings = zentavoSettingsFrom(m_stored, platform::programFolder());
}

void TFormZentavo::UpdateVorrin(quint64 wParam)
{
    ReloadSettings();
    if (wParam != 1)
        return;
    // The run under way keeps its own jobs and job file; the window's
    // follow after it.
    if (Runs().WorkerRunning() || Runs().State().RunBusy()) {
        m_pendingJobFile = m_settings.EditFJob;
        return;
    }
    OpenJobFile(m_settings.EditFJob, false);
}

void TFormZentavo::addReportLine(const QString &line)
{
    ListBoxRep->addItem(line);
    ListBoxRep->scrollToBottom();
}

void TFormZentavo::runStarting()
{
    setCursor(Qt::BusyCursor);
    setCommandsEnabled(false);
    BitBtnCancel->setText(sButBreak);
    BitBtnCancel->setIcon({});
    StatusPanel[0]->setText(elapsedText(platform::now()));
}

void TFormZentavo::showJob(const QString &title, int number, int count)
{
    LabelNameJob->setText(title);
    StatusPanel[1]->setText(QString::number(number) + u'/' + QString::number(count));
}

void TFormZentavo::showArchiveProgress(int percent, const QString &title)
{
    // The title is what task bars show: it carries the progress during the
    // run. The other programs find the window by its message socket, not
    // by its title.
    setWindowTitle(QString::number(percent) + QStringLiteral("% ") + title);
    Gauge->setMaximum(100);
    Gauge->setValue(percent);
}

void TFormZentavo::setFileGauge(int percent)
{
    GaugeFile->setValue(percent);
}

void TFormZentavo::runEnded()
{
    LabelNameJob->clear();
}

void TFormZentavo::showText(const QString &text)
{
    LabelFiles->setText(text);
}

void TFormZentavo::setGaugeMaximum(qint64 bytes)
{
    m_gaugeMaximum = std::max<qint64>(1, bytes);
    Gauge->setMaximum(100);
    Gauge->setValue(0);
}

void TFormZentavo::setGaugePosition(qint64 bytes)
{
    Gauge->setValue(int(std::clamp<qint64>(bytes * 100 / m_gaugeMaximum, 0, 100)));
}

} // namespace zentavo
