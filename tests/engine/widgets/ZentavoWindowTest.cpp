#include "engine/widgets/ZentavoStart.h"

#include "RecordingStarter.h"
#include "ScriptedDialogs.h"
#include "ScriptedPrompter.h"
#include "SmtpTestServers.h"
#include "TestApplication.h"
#include "TestFiles.h"
#include "platform/Paths.h"
#include "platform/PowerControl.h"
#include "platform/RegistryKey.h"
#include "platform/WindowMessages.h"
#include "report/ReportLines.h"
#include "report/widgets/ViewRep.h"
#include "settings/VorrinStore.h"
#include "settings/widgets/VorrinUnit.h"
#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"
#include "shared/ZentavoExt.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include "WidgetTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace zentavo;
using platform::PromptButton;

namespace {

using testapp::waitUntil;

int toolExitCode(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return -1;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitCode();
}

class FakePower final : public platform::PowerControl {
public:
    explicit FakePower(std::function<void()> onPowerOff) : m_onPowerOff(std::move(onPowerOff)) {}
    bool powerOff() override
    {
        m_onPowerOff();
        return true;
    }

private:
    std::function<void()> m_onPowerOff;
};

class ZentavoWindowTest : public ProgramWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        auto scripted = std::make_unique<ScriptedPrompter>();
        prompts = scripted.get();
        platform::setPrompter(std::move(scripted));
        // The windows of this test are found, and get messages, in a runtime folder of its own.
        oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        QDir().mkpath(path(QStringLiteral("run")));
        QFile::setPermissions(path(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path(QStringLiteral("run"))));
        settings.Controls.CheckBoxRep = true;
        settings.Controls.CheckBoxRepAdd = true;
        settings.Copies.ButtonRepDirHint = path(QStringLiteral("report/"));
        settings.Controls.CheckBoxInfoPath = true;
        settings.Controls.CheckBoxRecurse = true;
        settings.Controls.EditTemp = path(QStringLiteral("temp"));
        for (const char *folder : {"report", "src/deep", "out"})
            QDir().mkpath(path(QString::fromLatin1(folder)));
        testfiles::writeBytes(path(QStringLiteral("src/a.txt")), "first file");
        testfiles::writeBytes(path(QStringLiteral("src/deep/b.txt")), "second file");
    }

    void TearDown() override
    {
        form.reset();
        platform::setPrompter(nullptr);
        platform::setPowerControl(nullptr);
        platform::setRegistryFolder(QString());
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
    }

    QString path(const QString &relative) const { return dir.filePath(relative); }
    QString archive() const { return path(QStringLiteral("out/Backup.zip")); }
    QString reportFile() const { return path(QStringLiteral("report/Report.txt")); }

    // One job that archives the source folder, with an optional command before it.
    QString writeJobFile(const QString &commandBefore = {})
    {
        QStringList lines{QStringLiteral("header"),
                          QStringLiteral(">"),
                          QStringLiteral("Job one"),
                          archive(),
                          QStringLiteral("D=") + path(QStringLiteral("src")),
                          QStringLiteral("C=")};
        if (!commandBefore.isEmpty())
            lines << QStringLiteral("CMD1=") + commandBefore + u'=';
        const QString jobFile = path(QStringLiteral("Jobs.dat"));
        testfiles::writeBytes(jobFile, testfiles::cp1251Lines(lines));
        return jobFile;
    }

    void start(const QStringList &arguments)
    {
        form = StartZentavo(
            arguments, [this](const VorrinSettings &) { return settings; }, exitCode);
    }

    bool endsByItself()
    {
        return waitUntil([this] { return !form->isVisible(); }, 30000);
    }

    QTemporaryDir dir;
    ScriptedPrompter *prompts = nullptr;
    QByteArray oldRuntime;
    // What the store holds, as the window's loader reads it.
    VorrinSettings settings;
    std::unique_ptr<TFormZentavo> form;
    int exitCode = -1;
};

} // namespace

TEST_F(ZentavoWindowTest, AutomaticRunWithCloseRunsTheJobsAndEndsByItself)
{
    start({QStringLiteral("/run"), QStringLiteral("/close"), writeJobFile()});
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(endsByItself());

    EXPECT_EQ(toolExitCode(QStringLiteral("unzip"), {QStringLiteral("-t"), archive()}), 0);
    const QString report = QString::fromUtf8(testfiles::readBytes(reportFile()));
    EXPECT_TRUE(report.contains(sBeginProcess));
    EXPECT_TRUE(report.contains(QStringLiteral("Job one - ") + sRes[0]));
    EXPECT_TRUE(report.contains(sEndProcess));
    EXPECT_EQ(form->ReportLines().join(u'\n') + u'\n', QString(report).remove(u'\r'));
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(ZentavoWindowTest, TheRunsEndIsHandledWithoutWaitingForTheClock)
{
    start({QStringLiteral("/run"), QStringLiteral("/close"), writeJobFile()});
    ASSERT_NE(form, nullptr);
    // With the clock stopped only the worker's end can close the window.
    auto *clock = form->findChild<QTimer *>(QStringLiteral("Timer"));
    ASSERT_NE(clock, nullptr);
    clock->stop();
    ASSERT_TRUE(endsByItself());
    EXPECT_EQ(toolExitCode(QStringLiteral("unzip"), {QStringLiteral("-t"), archive()}), 0);
}

// Wherever the window manager would put it, the window starts in the
// middle of the screen.
TEST_F(ZentavoWindowTest, TheWindowStartsCentredOnTheScreen)
{
    start({writeJobFile()});
    ASSERT_NE(form, nullptr);
    expectCentredOnTheScreen(*form);
}

TEST_F(ZentavoWindowTest, TitleCarriesTheArchiveProgressDuringTheRunOnly)
{
    start({writeJobFile()});
    ASSERT_NE(form, nullptr);
    QStringList titles;
    QObject::connect(form.get(), &QWidget::windowTitleChanged, [&titles](const QString &title) { titles << title; });
    form->TBFRunClick();
    ASSERT_TRUE(waitUntil([&titles] { return titles.size() > 1 && titles.last() == CaptionZentavo; }, 30000))
        << titles.join(u'|').toStdString();
    EXPECT_TRUE(titles.contains(QStringLiteral("100% Job one"))) << titles.join(u'|').toStdString();
}

TEST_F(ZentavoWindowTest, WhileTheEditorRunsTheWindowIsPaintedButTakesNoInputAndStaysOpen)
{
    start({writeJobFile()});
    RecordingStarter starter;
    ScriptedDialogs dialogs; // a run that started would ask for its jobs
    int runs = 0;
    QObject::connect(form->FRun, &QAction::triggered, [&runs] { ++runs; });
    QWidget *runButton = form->findChild<QToolBar *>(QStringLiteral("ToolBar"))->widgetForAction(form->FRun);
    ASSERT_TRUE(runButton);
    bool closed = true;
    starter.whileRunning = [&](const platform::ProgramRequest &request) {
        EXPECT_TRUE(request.wait);
        EXPECT_TRUE(request.processEvents) << "the window is to be repainted meanwhile";
        const QPointF at = QPointF(runButton->rect().center());
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, runButton->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(runButton, &event);
        }
        closed = form->close();
    };
    starter.results.push_back(platform::ProgramRun::Finished);
    form->findChild<QAction *>(QStringLiteral("FEdit"))->trigger();
    ASSERT_EQ(starter.requests.size(), 1u);
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isEnabled());
    EXPECT_TRUE(form->FRun->isEnabled());
}

// Blanks and double quotes in the job file's path reach the editor intact,
// so that what the user saves there is the file that is read back.
TEST_F(ZentavoWindowTest, EditHandsTheEditorTheJobFilePathAsItIs)
{
    const QString jobFile = path(QStringLiteral("my \"q\" jobs.dat"));
    ASSERT_TRUE(QFile::rename(writeJobFile(), jobFile));
    start({jobFile});
    ASSERT_NE(form, nullptr);
    RecordingStarter starter;
    starter.results.push_back(platform::ProgramRun::Finished);
    form->findChild<QAction *>(QStringLiteral("FEdit"))->trigger();
    ASSERT_EQ(starter.requests.size(), 1u);
    EXPECT_EQ(starter.requests[0].program, platform::siblingProgram(QStringLiteral("Pelvaro")));
    EXPECT_EQ(starter.requests[0].arguments, QStringList{jobFile});
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(ZentavoWindowTest, AFileThatCannotBeReadIsNotLoadedAndCannotBeRun)
{
    const QString jobFile = path(QStringLiteral("Missing.dat"));
    prompts->buttons = {PromptButton::Ok};
    start({jobFile});
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->LabelNameFile->text(), sNotLoad);
    EXPECT_FALSE(form->FRun->isEnabled());
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(prompts->messages[0].text, sReadError + u' ' + jobFile);
    form->TBFRunClick();
    QApplication::processEvents();
    EXPECT_FALSE(form->Runs().HasWorker()) << "a file that was not read must not end in a green Ok";
}

// A file that is read but holds no job is no read error: it shows its
// count of 0 and keeps its commands.
TEST_F(ZentavoWindowTest, AReadableFileWithoutJobsShowsNoneAndKeepsItsCommands)
{
    const QString empty = path(QStringLiteral("Empty.dat"));
    testfiles::writeBytes(empty, testfiles::cp1251Lines({QStringLiteral("header only")}));
    start({empty});
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(prompts->messages.empty());
    EXPECT_EQ(form->LabelNameFile->text(), empty);
    EXPECT_TRUE(form->FRun->isEnabled());
    EXPECT_TRUE(form->FPrint->isEnabled());
    EXPECT_EQ(form->statusBar()->findChildren<QLabel *>().value(1)->text(), QStringLiteral("0"));
}

// The exit status tells a caller (cron, a timer, a script) how the backup
// went. The program itself, as such a caller starts it, with its settings
// and messages kept in a folder of the test.
TEST_F(ZentavoWindowTest, TheProgramExitsWithTheRunsResult)
{
    const QString jobFile = writeJobFile();
    const auto exitOf = [this](const QStringList &arguments) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("home/config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("home/data")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("home/run")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QDir().mkpath(path(QStringLiteral("home/run")));
        QFile::setPermissions(path(QStringLiteral("home/run")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZENTAVO_FILE), arguments);
        if (!program.waitForFinished(60000)) {
            program.kill();
            program.waitForFinished();
            return -1;
        }
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -2;
    };
    const QStringList automatic{QStringLiteral("/R-"), QStringLiteral("/run"), QStringLiteral("/close")};
    EXPECT_EQ(exitOf(automatic + QStringList{jobFile}), 0);
    EXPECT_EQ(toolExitCode(QStringLiteral("unzip"), {QStringLiteral("-t"), archive()}), 0);
    QDir(path(QStringLiteral("src"))).removeRecursively();
    EXPECT_EQ(exitOf(automatic + QStringList{jobFile}), 1);
}

TEST_F(ZentavoWindowTest, AnAutomaticRunOfAFileWithoutJobsEndsFailedByItself)
{
    prompts->buttons = {PromptButton::None};
    start({QStringLiteral("/run"), QStringLiteral("/close"), path(QStringLiteral("Missing.dat"))});
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(exitCode, TFormZentavo::ExitNotStarted);
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_GT(prompts->messages[0].timeoutMs, 0) << "nobody may be there to answer";
    EXPECT_FALSE(QFile::exists(archive()));
}

TEST_F(ZentavoWindowTest, NoReportFileSwitchKeepsTheReportInTheWindowOnly)
{
    start({QStringLiteral("/R-"), QStringLiteral("/RUN"), QStringLiteral("/CLOSE"), writeJobFile()});
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(endsByItself());
    EXPECT_FALSE(QFile::exists(reportFile()));
    EXPECT_TRUE(form->ReportLines().contains(QStringLiteral("Job one - ") + sRes[0]));
    EXPECT_EQ(toolExitCode(QStringLiteral("unzip"), {QStringLiteral("-t"), archive()}), 0);
}

TEST_F(ZentavoWindowTest, SchedulerAsksForAMinimisedWindowThroughTheEnvironment)
{
    const QString jobFile = writeJobFile();
    start({jobFile});
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->isMinimized());
    form.reset();

    qputenv(zentavo::EnvRunMinimized.toLatin1().constData(), "1");
    start({jobFile});
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isMinimized());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(ZentavoWindowTest, UnknownSwitchShowsTheUsageAndTouchesNothing)
{
    const QString jobFile = writeJobFile();
    prompts->buttons = {PromptButton::Ok};
    start({QStringLiteral("/run"), QStringLiteral("/nonsense"), jobFile});
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(exitCode, TFormZentavo::ExitNotStarted);
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->messages[0].text.startsWith(sKey1Error + QStringLiteral(" NONSENSE")));
    EXPECT_TRUE(QDir(path(QStringLiteral("report"))).isEmpty());
    EXPECT_FALSE(QFile::exists(archive()));
}

// The help window of "/?" would wait for somebody to close it: where nobody
// can see it, "/?" tells the switches on standard output (the real program's
// test reads them) and ends as a success, with no box; "--help" is a switch
// like any other it does not know. On a screen "/?" opens the window.
TEST_F(ZentavoWindowTest, HelpThatNobodyCanSeeEndsAtOnceWithoutABox)
{
    prompts->seen = false;
    start({QStringLiteral("/?"), writeJobFile()});
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(prompts->messages.empty());

    prompts->buttons = {PromptButton::Ok};
    start({QStringLiteral("--help")});
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(exitCode, TFormZentavo::ExitNotStarted);
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(prompts->messages[0].text, UsageText(QStringLiteral("--HELP")));

    prompts->seen = true;
    start({QStringLiteral("/?"), writeJobFile()});
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(ZentavoWindowTest, ADamagedSettingsFileIsToldOnceInTheWindowOrInTheReport)
{
    platform::setRegistryFolder(path(QStringLiteral("config")));
    QDir().mkpath(path(QStringLiteral("config")));
    testfiles::writeBytes(platform::registryFileName(), "[Software]\nbroken\n");
    const QString jobFile = writeJobFile();

    prompts->buttons = {PromptButton::Ok};
    start({jobFile});
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->messages[0].text.contains(QStringLiteral("line 2: broken")));
    form.reset();

    start({QStringLiteral("/run"), QStringLiteral("/close"), jobFile});
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(endsByItself());
    EXPECT_EQ(prompts->messages.size(), 1u) << "an automatic run shows no box";
    const QString report = QString::fromUtf8(testfiles::readBytes(reportFile()));
    EXPECT_EQ(report.count(QStringLiteral("line 2: broken")), 1) << qPrintable(report);
}

TEST_F(ZentavoWindowTest, AReloadDuringARunLeavesTheRunInItsOwnJobFolder)
{
    // Two job files, each beside its own "x.txt"; the run of the first copies
    // "x.txt" after a pause in which the default job file becomes the second.
    const auto jobFile = [this](const QString &folder) {
        QDir().mkpath(path(folder));
        testfiles::writeBytes(path(folder + QStringLiteral("/x.txt")), folder.toUtf8());
        const QString name = path(folder + QStringLiteral("/Jobs.dat"));
        testfiles::writeBytes(
            name,
            testfiles::cp1251Lines(
                {QStringLiteral("header"), QStringLiteral(">"), QStringLiteral("Job"), archive(),
                 QStringLiteral("D=") + path(QStringLiteral("src")), QStringLiteral("C="),
                 QStringLiteral("CMD1=/bin/sleep 1="),
                 QStringLiteral("CMD1=CCPY \"x.txt\" TO \"%1\"=").arg(path(QStringLiteral("out/")))}));
        return name;
    };
    const QString first = jobFile(QStringLiteral("first"));
    const QString second = jobFile(QStringLiteral("second"));
    start({first});
    ASSERT_NE(form, nullptr);
    form->TBFRunClick();
    ASSERT_TRUE(waitUntil([this] { return form->ReportLines().contains(QStringLiteral("/bin/sleep 1")); }, 30000));
    settings.Controls.EditFJob = second;
    form->UpdateVorrin(1);
    EXPECT_EQ(form->Document().path, first) << "the window keeps its job file until the run ends";
    ASSERT_TRUE(waitUntil(
        [this] { return !form->Runs().WorkerRunning() && form->Document().path == settings.Controls.EditFJob; },
        30000));

    EXPECT_EQ(testfiles::readBytes(path(QStringLiteral("out/x.txt"))), QByteArray("first"));
}

// The settings dialog shows the window's own settings (the store here holds
// none), and a save reaches the window at once; Cancel changes nothing. A
// settings-changed message from another program reads the store again.
TEST_F(ZentavoWindowTest, SettingsDialogEditsTheWindowsSettingsAndAMessageReloadsThem)
{
    platform::setRegistryFolder(path(QStringLiteral("config")));
    settings.Controls.EditFJob = writeJobFile();
    start({});
    ASSERT_NE(form, nullptr);
    QAction *options = form->findChild<QAction *>(QStringLiteral("OptionsMenu"));
    ASSERT_NE(options, nullptr);
    ScriptedDialogs dialogs;
    const auto edit = [&](QPushButton *TFormVorrin::*button) {
        dialogs.expect(QStringLiteral("FormVorrin"), [&, button](QDialog &shown) {
            auto &dialog = static_cast<TFormVorrin &>(shown);
            EXPECT_EQ(dialog.EditFJob->text(), settings.Controls.EditFJob);
            EXPECT_EQ(dialog.ButtonRepDir->toolTip(), settings.Copies.ButtonRepDirHint);
            EXPECT_FALSE(dialog.CheckBoxAPower->isChecked()) << "the edit of the cancelled dialog came back";
            dialog.CheckBoxAClose->click();
            dialog.CheckBoxAPower->click();
            (dialog.*button)->click();
            return dialog.result();
        });
        options->trigger();
    };

    edit(&TFormVorrin::ButtonCancel);
    EXPECT_FALSE(form->Settings().Run.CheckBoxAPower);
    edit(&TFormVorrin::ButtonOk);
    ASSERT_TRUE(dialogs.allPlayed());
    EXPECT_TRUE(form->Settings().Run.CheckBoxAPower);
    EXPECT_TRUE(form->Settings().Run.CheckBoxAClose);
    EXPECT_EQ(form->Settings().EditFJob, settings.Controls.EditFJob);
    EXPECT_EQ(ReadDefaultDat(), settings.Controls.EditFJob);

    settings.Controls.CheckBoxRep = false;
    ASSERT_TRUE(platform::postMessage(CaptionZentavo, MsgUpdateVorrin, 0));
    EXPECT_TRUE(waitUntil([this] { return !form->Settings().Run.CheckBoxRep; }));
}

TEST_F(ZentavoWindowTest, PrintCommandPrintsTheJobFileAsItIsNow)
{
    const QString jobFile = writeJobFile();
    start({jobFile});
    ASSERT_NE(form, nullptr);
    // The file changes after it was loaded: the printout shows the change.
    testfiles::writeBytes(
        jobFile,
        testfiles::cp1251Lines({QStringLiteral("header"), QStringLiteral(">"), QStringLiteral("Renamed job"), archive(),
                                QStringLiteral("D=/src/"), QStringLiteral("C=")}));
    const QString pdf = path(QStringLiteral("jobs.pdf"));
    form->JobPrinter().setOutputFormat(QPrinter::PdfFormat);
    form->JobPrinter().setOutputFileName(pdf);

    prompts->printAnswers.push_back(false);
    form->findChild<QAction *>(QStringLiteral("FPrint"))->trigger();
    EXPECT_FALSE(QFile::exists(pdf));

    prompts->printAnswers.push_back(true);
    form->findChild<QAction *>(QStringLiteral("FPrint"))->trigger();
    QByteArray text;
    ASSERT_EQ(toolExitCode(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}, &text), 0);
    const QString printed = QString::fromUtf8(text);
    EXPECT_TRUE(printed.contains(QStringLiteral("Renamed job"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(archive()));
    EXPECT_TRUE(printed.contains(jobFile));
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(ZentavoWindowTest, StopDuringARunEndsTheReportWithTheBreakLines)
{
    start({writeJobFile(QStringLiteral("/bin/sleep 60"))});
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->Runs().State().AutoRun());
    form->TBFRunClick();
    ASSERT_TRUE(waitUntil([this] { return form->ReportLines().contains(QStringLiteral("/bin/sleep 60")); }, 30000))
        << form->ReportLines().join(u'\n').toStdString();
    const qsizetype linesSoFar = form->ReportLines().size();
    EXPECT_FALSE(form->FRun->isEnabled());

    // Enter in the report list is no stop request.
    form->activateWindow();
    form->ListBoxRep->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(form->ListBoxRep, &enter);
    QApplication::processEvents();
    EXPECT_TRUE(prompts->messages.empty()) << "Enter in the list asked to stop the run";

    // A second run is refused while this one is under way.
    form->TBFRunClick();
    QApplication::processEvents();
    EXPECT_GE(form->ReportLines().size(), linesSoFar);

    // A settings change reaches the window, not the run under way.
    settings.Controls.CheckBoxRep = false;
    settings.Controls.EditFJob = path(QStringLiteral("Other.dat"));
    form->UpdateVorrin(1);
    EXPECT_FALSE(form->Settings().Run.CheckBoxRep);
    EXPECT_TRUE(form->Runs().Settings().CheckBoxRep);
    EXPECT_EQ(form->Document().jobs.size(), 1u);

    // No keeps the run going.
    prompts->buttons = {PromptButton::No};
    form->BitBtnCancelClick();
    EXPECT_TRUE(form->Runs().Busy());
    EXPECT_EQ(form->BitBtnCancel->text(), sButBreak);

    prompts->buttons = {PromptButton::No};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->Runs().Busy());

    prompts->buttons = {PromptButton::Yes};
    form->BitBtnCancelClick();
    EXPECT_FALSE(form->Runs().Busy());
    QApplication::processEvents();
    const QStringList lines = form->ReportLines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_TRUE(lines.at(lines.size() - 4).endsWith(sUserBroke));
    EXPECT_EQ(lines.at(lines.size() - 3), report::Separator);
    EXPECT_TRUE(lines.at(lines.size() - 2).endsWith(sEndProcess));
    EXPECT_EQ(lines.last(), QString());
    EXPECT_FALSE(lines.contains(QStringLiteral("Job one - ") + sRes[0]));
    EXPECT_FALSE(QFile::exists(archive()));
    const QString report = QString::fromUtf8(testfiles::readBytes(reportFile()));
    EXPECT_TRUE(report.endsWith(sEndProcess + QStringLiteral("\r\n\r\n")));

    prompts->buttons = {PromptButton::Ok}; // the job file named by the reload is missing
    form->TimerTimer();
    EXPECT_EQ(form->BitBtnCancel->text(), sButClose);
    EXPECT_EQ(form->Runs().OverallResult(), 2);
    // The job file named by the reload is read once the run has ended.
    ASSERT_EQ(prompts->messages.size(), 4u);
    EXPECT_EQ(prompts->messages[3].text, sReadError + u' ' + path(QStringLiteral("Other.dat")));
    EXPECT_TRUE(form->isVisible());
}

class EndOfRunChainTest : public ZentavoWindowTest {
protected:
    void SetUp() override
    {
        ZentavoWindowTest::SetUp();
        ASSERT_NE(server.Port(), 0);
        settings.Controls.CheckBoxASend = true;
        settings.Controls.CheckBoxAPower = true;
        settings.Controls.EditHost = QStringLiteral("127.0.0.1");
        settings.Controls.EditPort = QString::number(server.Port());
        settings.Controls.EditEMail = QStringLiteral("admin@example.org");
        settings.Controls.EditFrom = QStringLiteral("backup@example.org");
        settings.Controls.EditSubject = QStringLiteral("Night backup");
        settings.Controls.CheckBoxHelo = true;
        settings.Controls.CheckBoxAuth = true;
        settings.Controls.EditUserName = QStringLiteral("user");
        settings.Controls.EditPassword = QStringLiteral("secret");
        platform::setPowerControl(std::make_unique<FakePower>([this] {
            steps << QStringLiteral("power");
            if (QFile::exists(pdf()))
                steps << QStringLiteral("printed before");
            if (server.Messages().size() == 1)
                steps << QStringLiteral("mailed before");
            if (form->isVisible())
                steps << QStringLiteral("open before");
        }));
    }

    QString pdf() const { return path(QStringLiteral("report.pdf")); }

    void runToTheEnd()
    {
        start({QStringLiteral("/run"), QStringLiteral("/close"), QStringLiteral("/print"), writeJobFile()});
        ASSERT_NE(form, nullptr);
        form->FormRep().Printer().setOutputFormat(QPrinter::PdfFormat);
        form->FormRep().Printer().setOutputFileName(pdf());
        ASSERT_TRUE(endsByItself());
    }

    // Mails the report of an automatic run to a server that greets and then
    // never answers; once the mail is under way, whileMailing runs and the
    // window is closed.
    void mailToASilentServer(const std::function<void()> &whileMailing)
    {
        ScriptedServer silent({{"220 hi\r\n"}});
        settings.Controls.EditPort = QString::number(silent.Port());
        settings.Controls.CheckBoxAuth = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (!silent.received.isEmpty() && form && form->isVisible()) {
                whileMailing();
                form->close();
            }
        });
        closer.start(20);
        runToTheEnd();
    }

    TestSmtpServer server;
    QStringList steps;
};

TEST_F(EndOfRunChainTest, PrintsMailsPowersOffAndClosesInThisOrder)
{
    runToTheEnd();
    EXPECT_EQ(steps,
              (QStringList{QStringLiteral("power"), QStringLiteral("printed before"), QStringLiteral("mailed before"),
                           QStringLiteral("open before")}));
    QByteArray text;
    ASSERT_EQ(toolExitCode(QStringLiteral("pdftotext"), {pdf(), QStringLiteral("-")}, &text), 0);
    EXPECT_TRUE(QString::fromUtf8(text).contains(QStringLiteral("Job one - ") + sRes[0]));
    const QList<QJsonObject> mails = server.Messages();
    ASSERT_EQ(mails.size(), 1) << testfiles::readBytes(reportFile()).toStdString();
    EXPECT_TRUE(QJsonDocument(mails[0]).toJson().contains("Night backup"));
    // The mail's transcript follows the run in the report file.
    EXPECT_TRUE(QString::fromUtf8(testfiles::readBytes(reportFile())).contains(QStringLiteral("Report sent: SMTP")));
}

TEST_F(EndOfRunChainTest, ErrorsOnlyWithEveryJobOkPrintsAndMailsNothing)
{
    settings.Controls.CheckBoxAOnlyErrors = true;
    runToTheEnd();
    EXPECT_EQ(steps, (QStringList{QStringLiteral("power"), QStringLiteral("open before")}));
    EXPECT_FALSE(QFile::exists(pdf()));
    EXPECT_TRUE(server.Messages().isEmpty());
}

TEST_F(EndOfRunChainTest, ClosingTheWindowWhileTheReportIsMailedEndsTheMailWithItsLines)
{
    QElapsedTimer clock;
    clock.start();
    mailToASilentServer([] {});
    EXPECT_LT(clock.elapsed(), 20000); // the reply wait alone is 60 s
    const QString report = QString::fromUtf8(testfiles::readBytes(reportFile()));
    // Closed while the greeting was awaited: the mail ends at its connect.
    EXPECT_TRUE(report.contains(QStringLiteral("Failed on connect: SMTP\r\nSession aborted\r\n")))
        << report.toStdString();
    EXPECT_FALSE(report.contains(QStringLiteral("Failed on send"))) << report.toStdString();
    EXPECT_TRUE(report.endsWith(QString(50, u'-') + QStringLiteral("\r\n"))) << report.toStdString();
}

TEST_F(EndOfRunChainTest, WhileTheReportIsMailedTheTitleNoLongerShowsTheLastJob)
{
    QString title;
    mailToASilentServer([&] { title = form->windowTitle(); });
    EXPECT_EQ(title, CaptionZentavo);
}
