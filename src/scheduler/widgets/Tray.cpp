#include "Tray.h"

#include "help/widgets/ProgramHelp.h"
#include "platform/FileLock.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/WindowMessages.h"
#include "platform/widgets/DialogRunner.h"
#include "platform/widgets/WebPage.h"
#include "report/ReportFile.h"
#include "report/widgets/ViewRep.h"
#include "scheduler/Journal.h"
#include "scheduler/Scheduler.h"
#include "scheduler/widgets/NotificationAreaWait.h"
#include "settings/widgets/OpenSettings.h"
#include "settings/widgets/VorrinUnit.h"
#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"
#include "shared/ZetuUnit.h"
#include "shared/widgets/LocalizeForm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

namespace zentavo {

namespace {

// The schedule is looked at a little more often than once a minute, so no
// minute goes by unseen.
constexpr int TimerIntervalMs = 59000;

QIcon trayIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/scheduler/icons/vorrin-%1.png").arg(size), QSize(size, size));
    return icon;
}

enum ServiceCommand : quint64 { StopTimer = 0, StartTimer = 1, DisableExit = 2, ExitProgram = 3 };

// While one of the scheduler's modal windows is open (the settings, the
// viewer, a question, the About box), a command that would open another of
// them brings the open one to the front instead, so that no two wait on
// each other. False when none is open.
bool RaiseOpenModalWindow()
{
    QWidget *open = QApplication::activeModalWidget();
    if (!open)
        return false;
    open->showNormal();
    open->raise();
    open->activateWindow();
    return true;
}

void TellNoNotificationArea()
{
    platform::prompter().message(
        {sVorrinHeader,
         QStringLiteral("There is no notification area: the scheduler runs on and starts the scheduled runs, and "
                        "its icon, with the menu for the settings and Exit, appears as soon as a notification area "
                        "does."),
         platform::PromptIcon::Information,
         platform::PromptButton::Ok,
         {},
         0,
         false});
    // The notice does not wait: the icon may appear while it is open and
    // must take clicks then. Qt embeds the icon shown in AddTrayIcon itself
    // as soon as a notification area takes icons; showing it afresh would
    // replace the icon the user may already be clicking, closing its menu.
}

} // namespace

TTrayForm::TTrayForm(std::unique_ptr<platform::InstanceLock> instance) : m_instance(std::move(instance))
{
    setObjectName(QStringLiteral("TrayForm"));
    setWindowTitle(CaptionTrayVorrin);
    m_scheduler = std::make_unique<TScheduler>(LoadVorrinSettings(m_context));
    m_formVorrin = std::make_unique<TFormVorrin>(m_scheduler->Settings(), nullptr, m_context);
    connect(m_formVorrin.get(), &TFormVorrin::settingsSaved, this,
            [this](const VorrinSettings &saved) { m_scheduler->SetSettings(saved); });
    m_formRep = std::make_unique<TFormRep>();
    // Modal to their owners alone (they have none): Qt would otherwise drop
    // every click on the icon while one of them is open, and its menu,
    // with Exit, could not be reached.
    for (QWidget *dialog : std::initializer_list<QWidget *>{m_formVorrin.get(), m_formRep.get()})
        dialog->setWindowModality(Qt::WindowModal);
    // Context help for the settings dialog and the report viewer.
    help::InstallHelp(this);
    createMenu();
    LocalizeForm(this);
    EditItem->setText(sEditorHeader);

    Timer = new QTimer(this);
    Timer->setInterval(TimerIntervalMs);
    connect(Timer, &QTimer::timeout, this, [this] { m_scheduler->TimerTimer(); });
    Timer->start();

    AddTrayIcon();
    m_areaWait = new NotificationAreaWait(&QSystemTrayIcon::isSystemTrayAvailable, &TellNoNotificationArea, this);
    m_messages = std::make_unique<platform::MessageWindow>();
    connect(m_messages.get(), &platform::MessageWindow::messageReceived, this, &TTrayForm::MessageReceived);
    // The other programs find the scheduler by this address, which is why
    // it is not translated like the window's other texts.
    m_messages->setCaption(CaptionTrayVorrin);
}

TTrayForm::~TTrayForm() = default;

void TTrayForm::ReloadSettings()
{
    m_scheduler->SetSettings(LoadVorrinSettings(m_context, m_scheduler->Settings()));
    m_formVorrin->Edit(m_scheduler->Settings());
}

bool TTrayForm::Reachable() const
{
    return m_messages && m_messages->caption() == CaptionTrayVorrin;
}

void TTrayForm::createMenu()
{
    TrayPopupMenu = new QMenu(this);
    TrayPopupMenu->setObjectName(QStringLiteral("TrayPopupMenu"));
    const auto item = [this](const char *name, const char *text, void (TTrayForm::*click)()) {
        QAction *action = TrayPopupMenu->addAction(QString::fromLatin1(text));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, click);
        return action;
    };
    OpenItem = item("OpenItem", "Scheduler of start", &TTrayForm::OpenItemClick);
    TrayPopupMenu->setDefaultAction(OpenItem);
    TrayPopupMenu->addSeparator();
    RunItem = item("RunItem", "Run process", &TTrayForm::RunItemClick);
    EditItem = item("EditItem", "Job file editor", &TTrayForm::EditItemClick);
    TheZentavoItem = item("TheZentavoItem", "The Zentavo", &TTrayForm::TheZentavoItemClick);
    TrayPopupMenu->addSeparator();
    ReportItem = item("ReportItem", "View report", &TTrayForm::ReportItemClick);
    JournalItem = item("JournalItem", "View journal", &TTrayForm::JournalItemClick);
    UpdateItem = item("UpdateItem", "Check Update", &TTrayForm::UpdateItemClick);
    HelpItem = item("HelpItem", "The Zentavo Help", &TTrayForm::HelpItemClick);
    AboutItem = item("AboutItem", "About", &TTrayForm::AboutItemClick);
    TrayPopupMenu->addSeparator();
    ExitItem = item("ExitItem", "Exit", &TTrayForm::ExitItemClick);
}

void TTrayForm::AddTrayIcon()
{
    TrayIcon = new QSystemTrayIcon(trayIcon(), this);
    TrayIcon->setToolTip(sVorrinHeader);
    TrayIcon->setContextMenu(TrayPopupMenu);
    connect(TrayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            OpenItemClick();
    });
    // Without a notification area nothing shows; Qt adds the icon when one
    // appears later or the panel restarts.
    TrayIcon->show();
}

void TTrayForm::OpenItemClick()
{
    if (RaiseOpenModalWindow())
        return;
    OpenSettingsDialog(*m_formVorrin, SettingsProgram::Vorrin);
}

void TTrayForm::RunItemClick()
{
    // Asked also over an open modal window: the run is what the user chose
    // the item for, and the question is answered at once.
    const platform::PromptButton answer
        = platform::prompter().message({sVorrinHeader,
                                        sQuestionRun,
                                        platform::PromptIcon::Warning,
                                        platform::PromptButton::Yes | platform::PromptButton::No,
                                        {}});
    if (answer == platform::PromptButton::Yes)
        m_scheduler->StartRun();
}

void TTrayForm::EditItemClick()
{
    m_scheduler->StartEditor(false);
}

void TTrayForm::TheZentavoItemClick()
{
    m_scheduler->StartZentavo();
}

void TTrayForm::ReportItemClick()
{
    showFile(sReport, platform::fileInFolder(m_scheduler->Settings().Copies.ButtonRepDirHint, ReportFile::FileName));
}

void TTrayForm::JournalItemClick()
{
    showFile(sJournal, JournalPath(m_scheduler->Settings().Copies));
}

void TTrayForm::showFile(const QString &caption, const QString &fileName)
{
    if (RaiseOpenModalWindow())
        return;
    if (m_formRep->LoadFile(caption, fileName))
        platform::runDialog(*m_formRep);
}

void TTrayForm::UpdateItemClick()
{
    platform::OpenProductWebPage(sVorrinHeader);
}

void TTrayForm::HelpItemClick()
{
    help::ShowHelpTopic(QStringLiteral("Main"));
}

void TTrayForm::AboutItemClick()
{
    if (RaiseOpenModalWindow())
        return;
    platform::prompter().message({DeleteAmpersand(AboutItem->text()),
                                  GetVersionInfoStr(),
                                  platform::PromptIcon::Information,
                                  platform::PromptButton::Ok,
                                  {}});
}

void TTrayForm::ExitItemClick()
{
    // Nothing may tick or arrive while the program comes down.
    m_exiting = true;
    Timer->stop();
    m_messages.reset();
    TrayIcon->hide();
    // Exit may come from the menu while a modal window waits for its answer
    // (also at the first start, before the main loop runs, which quit()
    // cannot end): each is closed unanswered so that its wait ends too.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isModal() && dialog->isVisible())
            dialog->done(QDialog::Rejected);
    }
    QCoreApplication::quit();
}

void TTrayForm::MessageReceived(const QString &name, quint64 wParam)
{
    if (name == MsgUpdateVorrin) {
        ReloadSettings();
        m_scheduler->TimerTimer();
    } else if (name == MsgRunZentavo) {
        m_scheduler->RunZentavoEnded();
    } else if (name == MsgServiceVorrin) {
        switch (wParam) {
        case StopTimer: Timer->stop(); break;
        case StartTimer: Timer->start(); break;
        case DisableExit: ExitItem->setEnabled(false); break;
        case ExitProgram: ExitItemClick(); break;
        default: break;
        }
    }
}

void TTrayForm::WatchNotificationArea()
{
    m_areaWait->Start();
}

} // namespace zentavo
