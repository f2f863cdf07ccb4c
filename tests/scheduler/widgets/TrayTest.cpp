#include "scheduler/widgets/Tray.h"
#include "scheduler/widgets/NotificationAreaWait.h"
#include "scheduler/widgets/VorrinStart.h"

#include "ClickCounter.h"
#include "FakeClock.h"
#include "RecordingBrowser.h"
#include "RecordingStarter.h"
#include "ScriptedDialogs.h"
#include "ScriptedPrompter.h"
#include "TestApplication.h"
#include "TestFiles.h"
#include "WidgetTest.h"
#include "platform/FileLock.h"
#include "platform/Paths.h"
#include "platform/RegistryKey.h"
#include "platform/WindowMessages.h"
#include "report/widgets/ViewRep.h"
#include "scheduler/Journal.h"
#include "scheduler/Scheduler.h"
#include "settings/VorrinStore.h"
#include "settings/widgets/SetTime.h"
#include "settings/widgets/VorrinUnit.h"
#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace zentavo;
using platform::PromptButton;
using platform::RegistryKey;
using testapp::waitUntil;

namespace {

class TrayTest : public WidgetTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        platform::setRegistryFolder(dir.filePath(QStringLiteral("config")));
        oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
        auto scripted = std::make_unique<ScriptedPrompter>();
        prompts = scripted.get();
        platform::setPrompter(std::move(scripted));

        const auto main = RegistryKey::open(MainKeyPath(), RegistryKey::Mode::OpenOrCreate);
        ASSERT_TRUE(main);
        main->writeString(QStringLiteral("DefaultDat"), dir.filePath(QStringLiteral("Jobs.dat")));
        main->writeString(QStringLiteral("RepRunDir"), dir.path());
        main->writeString(QStringLiteral("ReportDir"), dir.path());
        ASSERT_TRUE(main->flush());
        writeTimes(QStringLiteral("07:00"));
    }

    void TearDown() override
    {
        tray.reset();
        platform::setPrompter(nullptr);
        platform::setRegistryFolder(QString());
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
    }

    static void writeTimes(const QString &time)
    {
        const auto key = RegistryKey::open(ScheduleKeyPath(), RegistryKey::Mode::OpenOrCreate);
        ASSERT_TRUE(key);
        key->writeString(QStringLiteral("Times"), time + QStringLiteral("\r\n"));
        ASSERT_TRUE(key->flush());
    }

    void create()
    {
        tray = std::make_unique<TTrayForm>(nullptr);
        ASSERT_TRUE(tray->Reachable());
    }

    QAction *item(const char *name) const { return tray->PopupMenu().findChild<QAction *>(QString::fromLatin1(name)); }

    QStringList journalTexts() const
    {
        QStringList texts;
        const QString text = QString::fromUtf8(testfiles::readBytes(JournalPath(tray->Scheduler().Settings().Copies)));
        for (const QString &line : text.split(QStringLiteral("\r\n")))
            texts << line.section(u'\t', 0, 0);
        texts.removeLast();
        return texts;
    }

    bool post(const QString &name, quint64 wParam) { return platform::postMessage(CaptionTrayVorrin, name, wParam); }

    QTemporaryDir dir;
    QByteArray oldRuntime;
    ScriptedPrompter *prompts = nullptr;
    RecordingStarter starter;
    std::unique_ptr<TTrayForm> tray;
};

} // namespace

TEST_F(TrayTest, ServiceMessageStopsAndStartsTheTimerDisablesExitAndEndsTheScheduler)
{
    create();
    QTimer &timer = tray->ScheduleTimer();
    EXPECT_TRUE(timer.isActive());
    ASSERT_TRUE(post(MsgServiceVorrin, 0));
    EXPECT_TRUE(waitUntil([&] { return !timer.isActive(); }));
    ASSERT_TRUE(post(MsgServiceVorrin, 1));
    EXPECT_TRUE(waitUntil([&] { return timer.isActive(); }));
    ASSERT_TRUE(post(MsgServiceVorrin, 2));
    EXPECT_TRUE(waitUntil([&] { return !item("ExitItem")->isEnabled(); }));
    ASSERT_TRUE(post(MsgServiceVorrin, 9)); // unknown: nothing
    ASSERT_TRUE(post(MsgServiceVorrin, 3));
    EXPECT_TRUE(waitUntil([&] { return tray->Exiting(); }));
    EXPECT_FALSE(tray->Reachable());
    EXPECT_FALSE(timer.isActive());
    EXPECT_FALSE(platform::findWindow(CaptionTrayVorrin));
}

TEST_F(TrayTest, UpdateReloadsTheSavedSettingsAndChecksTheScheduleAtOnce)
{
    FakeClockScope clock(QDateTime(QDate(2026, 12, 9), QTime(22, 0, 10)));
    create();
    EXPECT_EQ(tray->Scheduler().Settings().Copies.ScheduleTimes, QStringList{QStringLiteral("07:00")});
    writeTimes(QStringLiteral("22:00"));
    ASSERT_TRUE(post(MsgUpdateVorrin, 0));
    ASSERT_TRUE(waitUntil([&] { return starter.requests.size() == 1; }));
    EXPECT_EQ(starter.requests[0].arguments, QStringList{QStringLiteral("/run")});

    ASSERT_TRUE(post(MsgRunZentavo, 0));
    ASSERT_TRUE(waitUntil([&] { return !tray->Scheduler().RunActive(); }));
    EXPECT_EQ(journalTexts(), (QStringList{sRunZentavo, sEndZentavo, QString()}));
}

TEST_F(TrayTest, RunItemAsksFirst)
{
    create();
    prompts->buttons = {PromptButton::No, PromptButton::Yes};
    item("RunItem")->trigger();
    EXPECT_TRUE(starter.requests.empty());
    item("RunItem")->trigger();
    ASSERT_EQ(starter.requests.size(), 1u);
    EXPECT_EQ(starter.requests[0].arguments, QStringList{QStringLiteral("/run")});
    EXPECT_EQ(prompts->messages[0].text, sQuestionRun);
}

TEST_F(TrayTest, CheckUpdateOpensTheWebPageInTheBrowserOrSaysWhyNot)
{
    create();
    const QList<QAction *> items = tray->PopupMenu().actions();
    ASSERT_LT(items.indexOf(item("ReportItem")), items.indexOf(item("UpdateItem")));
    ASSERT_LT(items.indexOf(item("UpdateItem")), items.indexOf(item("HelpItem")));
    EXPECT_EQ(item("UpdateItem")->text(), QStringLiteral("Check Update"));
    RecordingBrowser browser;
    item("UpdateItem")->trigger();
    EXPECT_EQ(browser.opened, QList<QUrl>{platform::ProductWebPage()});
    EXPECT_TRUE(prompts->messages.empty());

    browser.takes = false;
    prompts->buttons = {PromptButton::Ok};
    item("UpdateItem")->trigger();
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->messages[0].text.contains(platform::ProductWebPage().toDisplayString()));
}

TEST_F(TrayTest, OpenItemOpensOneSettingsDialogAcrossTheSuite)
{
    create();
    ScriptedDialogs dialogs;
    {
        // The main program's settings dialog is open.
        platform::MessageWindow mainProgramsDialog;
        ASSERT_TRUE(mainProgramsDialog.setCaption(sOptionsHeader));
        prompts->buttons = {PromptButton::Ok};
        tray->OpenItemClick();
        ASSERT_EQ(prompts->messages.size(), 1u);
        EXPECT_EQ(prompts->messages[0].text, sCloseVorrin + u' ' + sOptionsHeader);
        EXPECT_TRUE(dialogs.shown().empty());
    }

    const QString stored = tray->FormVorrin().EditFJob->text();
    dialogs.expect(QStringLiteral("FormVorrin"), [&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), sVorrinHeader);
        EXPECT_TRUE(platform::findWindow(sVorrinHeader));
        tray->FormVorrin().EditFJob->setText(QStringLiteral("unsaved.dat"));
        dialog.reject();
        return int(QDialog::Rejected);
    });
    tray->OpenItemClick();
    EXPECT_TRUE(dialogs.allPlayed());
    EXPECT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(tray->FormVorrin().EditFJob->text(), stored);
    EXPECT_FALSE(platform::findWindow(sVorrinHeader));
}

TEST_F(TrayTest, TheDialogEditsACopyWhoseSaveReachesTheSchedulerAtOnce)
{
    create();
    ScriptedDialogs dialogs;
    const QString picked = dir.filePath(QStringLiteral("picked"));
    ASSERT_TRUE(QDir().mkpath(picked));
    const TVorrinCopies before = tray->Scheduler().Settings().Copies;
    prompts->texts = {picked, picked};
    dialogs.expect(QStringLiteral("FormVorrin"), [&](QDialog &dialog) {
        tray->FormVorrin().ButtonRunDir->click();
        EXPECT_EQ(tray->Scheduler().Settings().Copies, before) << "a folder picked but not saved";
        dialog.reject();
        return int(QDialog::Rejected);
    });
    tray->OpenItemClick();
    EXPECT_EQ(tray->Scheduler().Settings().Copies, before);

    dialogs.expect(QStringLiteral("FormVorrin"), [&](QDialog &) {
        tray->FormVorrin().ButtonRunDir->click();
        tray->FormVorrin().ButtonOk->click();
        // Before the update message comes back.
        EXPECT_EQ(tray->Scheduler().Settings().Copies.ButtonRunDirHint, picked + u'/');
        return int(QDialog::Accepted);
    });
    tray->OpenItemClick();
    EXPECT_TRUE(dialogs.allPlayed());
}

TEST_F(TrayTest, ReportAndJournalItemsShowTheirFilesInTheViewer)
{
    create();
    testfiles::writeBytes(dir.filePath(QStringLiteral("Report.txt")), "report line\r\n");
    testfiles::writeBytes(dir.filePath(JournalFileName), "journal line\r\n");
    ScriptedDialogs dialogs;
    const auto shows = [&](const QString &caption, const QString &line) {
        dialogs.expect(QStringLiteral("FormRep"), [caption, line](QDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), caption);
            EXPECT_EQ(static_cast<TFormRep &>(dialog).Lines(), QStringList{line});
            return int(QDialog::Rejected);
        });
    };
    shows(sReport, QStringLiteral("report line"));
    item("ReportItem")->trigger();
    shows(sJournal, QStringLiteral("journal line"));
    item("JournalItem")->trigger();
    EXPECT_TRUE(dialogs.allPlayed());
}

TEST_F(TrayTest, RunZentavoWithoutARunOfOursWritesNothing)
{
    create();
    ASSERT_TRUE(post(MsgRunZentavo, 0));
    EXPECT_FALSE(waitUntil([&] { return QFile::exists(JournalPath(tray->Scheduler().Settings().Copies)); }, 300));
}

TEST_F(TrayTest, StartWithoutAJobFileOffersTheEditorAndASecondStartIsRefused)
{
    {
        const auto main = RegistryKey::open(MainKeyPath(), RegistryKey::Mode::OpenOrCreate);
        main->writeString(QStringLiteral("DefaultDat"), QString());
        ASSERT_TRUE(main->flush());
    }
    prompts->buttons = {PromptButton::Yes, PromptButton::Ok, PromptButton::Ok};
    FakeClockScope clock(QDateTime(QDate(2026, 12, 9), QTime(8, 0)));
    int exitCode = -1;
    tray = StartVorrin(exitCode);
    ASSERT_NE(tray, nullptr);
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(prompts->messages[0].text, sRunEditor1 + u'\r' + sRunEditor2);
    // The tests have no notification area, which is told once, when it has
    // had its while to appear.
    EXPECT_TRUE(tray->AreaWait().Waiting());
    clock.clock().advanceSeconds(NotificationAreaWait::GraceSeconds);
    tray->AreaWait().Check();
    ASSERT_EQ(prompts->messages.size(), 2u);
    EXPECT_TRUE(prompts->messages[1].text.startsWith(QStringLiteral("There is no notification area")));
    EXPECT_FALSE(prompts->messages[1].waits);
    EXPECT_FALSE(tray->AreaWait().Waiting());
    ASSERT_EQ(starter.requests.size(), 1u);
    EXPECT_EQ(starter.requests[0].program, platform::siblingProgram(QStringLiteral("Pelvaro")));
    EXPECT_TRUE(starter.requests[0].wait);
    EXPECT_FALSE(tray->FormVorrin().isVisible());
    EXPECT_FALSE(platform::findWindow(sVorrinHeader));

    EXPECT_EQ(StartVorrin(exitCode), nullptr);
    ASSERT_EQ(prompts->messages.size(), 3u);
    EXPECT_EQ(prompts->messages[2].text, sAlreadyRun);
    EXPECT_TRUE(tray->Reachable());
}

// With one of the scheduler's modal windows open the icon still takes
// clicks; the commands that would open another modal window bring the open
// one to the front, Run asks and Exit ends the program, closing the dialog.
TEST_F(TrayTest, WithTheSettingsDialogOpenTheIconsMenuStaysInReach)
{
    create();
    testfiles::writeBytes(dir.filePath(QStringLiteral("Report.txt")), "report line\r\n");
    testfiles::writeBytes(dir.filePath(JournalFileName), "journal line\r\n");
    // Stands in for the icon's own window, which the tests have not: another
    // window of the scheduler that is not the dialog's.
    ClickCounter icon;
    icon.resize(22, 22);
    icon.show();
    ScriptedDialogs dialogs;
    dialogs.expect(QStringLiteral("FormVorrin"), [&](QDialog &dialog) {
        const ShownModally shown(dialog);
        QTest::mouseClick(icon.windowHandle(), Qt::RightButton, {}, QPoint(11, 11));
        EXPECT_EQ(icon.presses, 1) << "the click on the icon was dropped";
        // Also while a dialog of the settings dialog is open over it.
        for (QDialog *inner :
             std::initializer_list<QDialog *>{tray->FormVorrin().FormSetTime, tray->FormVorrin().FormRep}) {
            const ShownModally innerShown(*inner);
            QTest::mouseClick(icon.windowHandle(), Qt::RightButton, {}, QPoint(11, 11));
        }
        EXPECT_EQ(icon.presses, 3) << "a click on the icon was dropped while a dialog of the dialog was open";

        dialog.showMinimized();
        for (const char *name : {"OpenItem", "ReportItem", "JournalItem", "AboutItem"}) {
            item(name)->trigger();
            EXPECT_EQ(QApplication::activeModalWidget(), &dialog) << name;
            EXPECT_FALSE(dialog.isMinimized()) << name << ": not brought to the front";
        }
        EXPECT_EQ(dialogs.shown().size(), 1u);
        EXPECT_TRUE(prompts->messages.empty());

        prompts->buttons = {PromptButton::Yes};
        item("RunItem")->trigger();
        EXPECT_TRUE(prompts->messages.size() == 1 && prompts->messages[0].text == sQuestionRun);
        EXPECT_EQ(starter.requests.size(), 1u);

        item("ExitItem")->trigger();
        EXPECT_TRUE(tray->Exiting());
        EXPECT_FALSE(dialog.isVisible());
        return dialog.result();
    });
    tray->OpenItemClick();
    EXPECT_TRUE(dialogs.allPlayed());
    EXPECT_FALSE(platform::findWindow(sVorrinHeader));
}
