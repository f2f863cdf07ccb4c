#include "engine/widgets/FZentavo.h"

#include "engine/widgets/ZetuPause.h"
#include "platform/RegistryKey.h"
#include "report/widgets/ViewRep.h"
#include "settings/widgets/VorrinUnit.h"

#include "MapNamesCheck.h"
#include "RecordingBrowser.h"
#include "RecordingHelpRuntime.h"
#include "ScriptedPrompter.h"
#include "TestApplication.h"
#include "WidgetTest.h"
#include "help/HelpRouter.h"
#include "help/HtmlHelpApi.h"
#include "help/widgets/HelpPopup.h"
#include "help/widgets/HelpWindow.h"
#include "help/widgets/ProgramHelp.h"
#include "help/widgets/QtHtmlHelp.h"
#include "help/widgets/WhatsThis.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace help;
using testapp::waitUntil;

namespace {

// The main window with its help, as the program makes it: the help file
// beside the test program is the one the build compiled.
class MainWindowHelpTest : public WidgetTest {
protected:
    void SetUp() override
    {
        auto scripted = std::make_unique<ScriptedPrompter>();
        prompts = scripted.get();
        platform::setPrompter(std::move(scripted));
        form = std::make_unique<zentavo::TFormZentavo>(zentavo::VorrinSettings{}, ZentavoSettings{}, nullptr,
                                                       QStringLiteral("The Zentavo"));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get());
    }
    void TearDown() override
    {
        form.reset();
        UnloadHtmlHelp();
        UseQtHelpWindows();
    }

    QtHtmlHelp &runtime()
    {
        LoadHtmlHelp();
        return dynamic_cast<QtHtmlHelp &>(*HtmlHelp());
    }

    ScriptedPrompter *prompts = nullptr;
    std::unique_ptr<zentavo::TFormZentavo> form;
};

TEST_F(MainWindowHelpTest, F1OnTheFocusedControlAsksForItsContextFromTheMap)
{
    RecordingHelpRuntime &recorder = RecordingHelpRuntime::install();
    form->ListBoxRep->setFocus();
    QTest::keyClick(form->ListBoxRep, Qt::Key_F1);
    const QPoint corner = form->ListBoxRep->mapToGlobal(QPoint(0, 0));
    ASSERT_EQ(recorder.calls.size(), 1);
    EXPECT_TRUE(recorder.calls.first().endsWith(
        QStringLiteral("Zentavo.chm::/CSHelp.txt 5 \"\" at %1,%2").arg(corner.x()).arg(corner.y())))
        << recorder.calls.first().toStdString();
}

TEST_F(MainWindowHelpTest, WhatsThisModeThenAClickShowsTheControlsPopupText)
{
    QAction *prompt = form->findChild<QAction *>(QStringLiteral("HPrompt"));
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F1));
    prompt->trigger();
    ASSERT_TRUE(prompt->isChecked());
    QTest::mouseClick(form->BitBtnCancel, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return runtime().Popup() && runtime().Popup()->isVisible(); }));
    EXPECT_EQ(runtime().Popup()->text(),
              QStringLiteral("Closes the window. During a run it stops the run after a question."));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(prompt->isChecked());

    // The popup closes on the next key.
    QTest::keyClick(runtime().Popup(), Qt::Key_Escape);
    EXPECT_FALSE(runtime().Popup()->isVisible());
}

TEST_F(MainWindowHelpTest, HelpMenuShowsTheContentsAndTopicsInTheHelpWindow)
{
    form->findChild<QAction *>(QStringLiteral("HDoc"))->trigger();
    HelpWindow *window = runtime().Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->topic(), QStringLiteral("Main.htm"));
    EXPECT_TRUE(window->text().contains(QStringLiteral("backs up files into ZIP archives")));
    EXPECT_GT(window->Contents->topLevelItemCount(), 0);

    // Links lead to the other topics of the file.
    QTextCursor link = window->Browser->document()->find(QStringLiteral("Zentavo, the main program"));
    ASSERT_FALSE(link.isNull());
    link.setPosition(link.selectionStart() + 2);
    QTest::mouseClick(window->Browser->viewport(), Qt::LeftButton, {}, window->Browser->cursorRect(link).center());
    EXPECT_EQ(window->topic(), QStringLiteral("ZentavoWindow.htm"));
    EXPECT_TRUE(window->text().contains(QStringLiteral("upper bar shows the file being archived")));

    EXPECT_TRUE(ShowHelpTopic(QStringLiteral("CreateJob")));
    EXPECT_TRUE(window->text().contains(QStringLiteral("job file editor Pelvaro")));
    ASSERT_NE(window->Contents->currentItem(), nullptr);
    EXPECT_EQ(window->Contents->currentItem()->text(0), QStringLiteral("Creating a job file"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Creating a job file"));
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(MainWindowHelpTest, TheHelpWindowOpensWhollyOnTheScreenBesideTheWindowThatAsked)
{
    const QRect area = form->screen()->availableGeometry();
    const struct {
        QPoint ownerAt;
        bool right;
        bool bottom;
    } cases[] = {
        {area.topLeft() + QPoint(10, 10), false, false},
        {area.bottomRight() - QPoint(130, 90), true, true},
    };
    for (const auto &c : cases) {
        QWidget owner;
        owner.setGeometry(QRect(c.ownerAt, QSize(120, 80)));
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
        QApplication::setActiveWindow(&owner);
        ASSERT_TRUE(ShowHelpTopic(QStringLiteral("Main")));
        const QRect frame = runtime().Window()->frameGeometry();
        EXPECT_TRUE(area.contains(frame)) << frame.x() << ',' << frame.y();
        EXPECT_EQ(c.right ? frame.right() == area.right() : frame.left() == area.left(), true) << frame.x();
        EXPECT_EQ(c.bottom ? frame.bottom() == area.bottom() : frame.top() == area.top(), true) << frame.y();
        runtime().Window()->close();
    }
}

TEST_F(MainWindowHelpTest, TheHelpMenuOpensTheProductsWebPageInTheBrowser)
{
    RecordingBrowser browser;
    QAction *update = form->findChild<QAction *>(QStringLiteral("HUpdate"));
    ASSERT_NE(update, nullptr);
    update->trigger();
    EXPECT_EQ(browser.opened, QList<QUrl>{platform::ProductWebPage()});
    EXPECT_EQ(platform::ProductWebPage().scheme(), QStringLiteral("https"));
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(MainWindowHelpTest, EveryRequestThatCannotBeServedSaysWhy)
{
    prompts->buttons.assign(5, platform::PromptButton::Ok);
    EXPECT_FALSE(ShowHelpTopic(QStringLiteral("NoSuchTopic")));
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->messages.back().text.contains(QStringLiteral("NoSuchTopic.htm")));

    QTemporaryDir dir;
    const QString damaged = dir.filePath(QStringLiteral("Zentavo.chm"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("ITSF but not really a help file");
    file.close();
    THelpRouter &router = *ProgramHelpRouter();
    const QString kept = router.Helpfile;
    const struct {
        QString helpFile;
        QString reason;
    } cases[] = {
        {QStringLiteral("/nonexistent/Zentavo.chm"), QStringLiteral("/nonexistent/Zentavo.chm is missing.")},
        {damaged, damaged + QStringLiteral(" cannot be read: it is damaged")},
    };
    for (const auto &c : cases) {
        router.Helpfile = c.helpFile;
        // The same request again is told again, not dropped.
        for (int request = 0; request < 2; ++request) {
            const std::size_t told = prompts->messages.size();
            EXPECT_FALSE(request == 0 ? ShowHelpTopic(QStringLiteral("CreateJob"))
                                      : router.ShowPopup(10, 10, QString(), 5));
            ASSERT_EQ(prompts->messages.size(), told + 1) << c.helpFile.toStdString();
            EXPECT_TRUE(prompts->messages.back().text.contains(c.reason))
                << prompts->messages.back().text.toStdString();
        }
    }
    router.Helpfile = kept;
}

TEST_F(MainWindowHelpTest, HelpAskedForFromAModalDialogBelongsToItSoThatItIsNotBlocked)
{
    auto dialog = std::make_unique<QDialog>(form.get());
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    ASSERT_TRUE(ShowHelpTopic(QStringLiteral("CreateJob")));
    EXPECT_EQ(runtime().Window()->parentWidget(), dialog.get());
    EXPECT_TRUE(runtime().Window()->isWindow());
    EXPECT_TRUE(ProgramHelpRouter()->ShowPopup(30, 30, QString(), 8));
    EXPECT_EQ(runtime().Popup()->parentWidget(), dialog.get());
    runtime().Popup()->close();

    // With the dialog gone, help has windows of its own again.
    dialog.reset();
    ASSERT_TRUE(ShowHelpTopic(QStringLiteral("CreateJob")));
    EXPECT_EQ(runtime().Window()->parentWidget(), nullptr);
    EXPECT_TRUE(runtime().Window()->text().contains(QStringLiteral("job file editor Pelvaro")));
}

TEST_F(MainWindowHelpTest, F1InAMessageBoxWithHelpDoesWhatItsHelpButtonDoes)
{
    RecordingHelpRuntime &recorder = RecordingHelpRuntime::install();
    QMessageBox box(QMessageBox::Information, QStringLiteral("The Zentavo"), QStringLiteral("No job file"),
                    QMessageBox::Yes | QMessageBox::No, form.get());
    int helps = 0;
    QAbstractButton *helpButton = box.addButton(QMessageBox::Help);
    QObject::disconnect(helpButton, &QAbstractButton::clicked, nullptr, nullptr);
    QObject::connect(helpButton, &QAbstractButton::clicked, [&] { ++helps; });
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QApplication::setActiveWindow(&box);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &box, Qt::Key_F1);
    EXPECT_EQ(helps, 1);
    EXPECT_TRUE(recorder.calls.isEmpty());
}

TEST_F(MainWindowHelpTest, AContextPopupWithoutTextSaysSo)
{
    EXPECT_TRUE(ProgramHelpRouter()->ShowPopup(20, 20, QString(), 0));
    ASSERT_NE(runtime().Popup(), nullptr);
    EXPECT_EQ(runtime().Popup()->text(), QStringLiteral("No help is available for this item."));
    runtime().Popup()->close();
}

TEST_F(MainWindowHelpTest, HelpEndsWhenTheApplicationQuitsWhileItsWindowsStillExist)
{
    ASSERT_TRUE(ShowHelpTopic(QStringLiteral("Main")));
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    QCoreApplication::exec();
    EXPECT_EQ(ProgramHelpRouter(), nullptr);
    EXPECT_FALSE(IsHtmlHelpLoaded());
    // Help asked for afterwards sets itself up again.
    EXPECT_TRUE(ShowHelpTopic(QStringLiteral("Main")));
    EXPECT_NE(ProgramHelpRouter(), nullptr);
}

TEST_F(MainWindowHelpTest, EveryControlNameOfTheMapFileIsAControlOfItsWindow)
{
    QTemporaryDir dir;
    platform::setRegistryFolder(dir.filePath(QStringLiteral("config")));
    zentavo::VorrinLoadContext context;
    context.defaultFolder = dir.path() + u'/';
    zentavo::TFormVorrin settings(nullptr, context);
    platform::setRegistryFolder(QString());
    zentavo::TFormPause pause(form.get(), QStringLiteral("The Zentavo"));
    const QList<const QObject *> windows = {form.get(), &form->FormRep(), &settings, &pause};

    // The editor's and the scheduler's windows are not part of this program.
    const int checked = CheckMapNamesOf(windows);
    EXPECT_GT(checked, 40);
}

} // namespace
