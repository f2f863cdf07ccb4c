#include "help/widgets/WhatsThis.h"
#include "help/HelpCommands.h"
#include "help/HelpContextMap.h"
#include "help/HelpError.h"

#include "TestApplication.h"
#include "WidgetTest.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <gtest/gtest.h>

using namespace help;
using testapp::waitUntil;

namespace {

// What the application's help was asked for: "command data" a request.
class RecordedHelp {
public:
    RecordedHelp()
    {
        SetApplicationHelpEvent([this](quint16 command, qint64 data, bool &callHelp) {
            if (command == HELP_SETPOPUP_POS) {
                int x = 0;
                int y = 0;
                UnpackPopupPoint(data, x, y);
                requests << QStringLiteral("at %1,%2").arg(x).arg(y);
            } else {
                requests << QStringLiteral("%1 %2").arg(command).arg(data);
            }
            callHelp = false;
            return true;
        });
    }
    ~RecordedHelp() { SetApplicationHelpEvent({}); }
    QStringList requests;
};

QString at(const QPoint &point)
{
    return QStringLiteral("at %1,%2").arg(point.x()).arg(point.y());
}

// A right-click as the window system delivers it: the press (which brings
// the context-menu event) and, a hand's tremble later, the release, which
// goes to whatever menu the press opened.
void rightClick(QWidget *widget, const QPoint &point)
{
    QWindow *window = widget->window()->windowHandle();
    const QPoint inWindow = widget->mapTo(widget->window(), point);
    // The pointer is where the press is; menus measure moves from there.
    QCursor::setPos(widget->mapToGlobal(point));
    QTest::mousePress(window, Qt::RightButton, {}, inWindow);
    QTest::mouseRelease(window, Qt::RightButton, {}, inWindow + QPoint(4, 4));
}

// Like the notification-area icon: a window that opens its menu on the press.
class MenuOnPress final : public QWidget {
public:
    MenuOnPress()
    {
        QAction *first = menu.addAction(QStringLiteral("Run process"));
        QObject::connect(first, &QAction::triggered, [this] { ++runs; });
        menu.addAction(QStringLiteral("Exit"));
    }
    QMenu menu;
    int runs = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::RightButton)
            menu.popup(event->globalPosition().toPoint());
    }
};

class WhatsThisTest : public WidgetTest {
protected:
    void SetUp() override
    {
        window = std::make_unique<QMainWindow>();
        window->setObjectName(QStringLiteral("FormTest"));
        SetHelpContext(window.get(), 1);
        auto *central = new QWidget(window.get());
        auto *layout = new QVBoxLayout(central);
        panel = new QWidget(central);
        panel->setObjectName(QStringLiteral("Panel"));
        SetHelpContext(panel, 12);
        auto *panelLayout = new QVBoxLayout(panel);
        edit = new QLineEdit(panel);
        edit->setObjectName(QStringLiteral("Edit"));
        panelLayout->addWidget(edit);
        button = new QPushButton(QStringLiteral("Press"), central);
        button->setObjectName(QStringLiteral("Button"));
        SetHelpContext(button, 7);
        QObject::connect(button, &QPushButton::clicked, [this] { ++buttonClicks; });
        layout->addWidget(panel);
        layout->addWidget(button);
        window->setCentralWidget(central);

        menu = window->menuBar()->addMenu(QStringLiteral("&Help"));
        SetHelpContext(menu->menuAction(), 36);
        item = menu->addAction(QStringLiteral("&Item"));
        item->setObjectName(QStringLiteral("Item"));
        prompt = menu->addAction(QStringLiteral("&What this such?"));
        toolBar = window->addToolBar(QStringLiteral("Tools"));
        toolBar->addAction(prompt);

        whatsThis = std::make_unique<TWhatsThis>();
        whatsThis->SetWTAction(prompt);
        whatsThis->Loaded();
        window->resize(400, 300);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
    }
    void TearDown() override
    {
        whatsThis.reset();
        window.reset();
    }

    QToolButton *promptButton() const { return qobject_cast<QToolButton *>(toolBar->widgetForAction(prompt)); }

    RecordedHelp help;
    std::unique_ptr<QMainWindow> window;
    THelpContextMap contextMap;
    std::unique_ptr<TWhatsThis> whatsThis;
    QWidget *panel = nullptr;
    QLineEdit *edit = nullptr;
    QPushButton *button = nullptr;
    QMenu *menu = nullptr;
    QAction *item = nullptr;
    QAction *prompt = nullptr;
    QToolBar *toolBar = nullptr;
    int buttonClicks = 0;
};

TEST_F(WhatsThisTest, F1AsksForThePopupOfTheFocusedControlOrItsNearestParent)
{
    struct Case {
        int editContext;
        int panelContext;
        QStringList expected;
    };
    const QPoint corner = [&] { return edit->mapToGlobal(QPoint(0, 0)); }();
    const Case cases[] = {
        {5, 12, {at(corner), QStringLiteral("8 5")}},
        {0, 12, {at(corner), QStringLiteral("8 12")}},
        // The window's own context counts for its controls.
        {0, 0, {at(corner), QStringLiteral("8 1")}},
        // A negative context opens the topic instead.
        {0, -40, {QStringLiteral("1 40")}},
    };
    for (const Case &c : cases) {
        help.requests.clear();
        SetHelpContext(edit, c.editContext);
        SetHelpContext(panel, c.panelContext);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F1);
        EXPECT_EQ(help.requests, c.expected) << c.editContext << ' ' << c.panelContext;
    }
    // Without any context the popup is still asked for, with context 0.
    help.requests.clear();
    SetHelpContext(window.get(), 0);
    SetHelpContext(panel, 0);
    SetHelpContext(edit, 0);
    QTest::keyClick(edit, Qt::Key_F1);
    EXPECT_EQ(help.requests, (QStringList{at(corner), QStringLiteral("8 0")}));
}

TEST_F(WhatsThisTest, ContextModeShowsTheClickedControlsPopupInsteadOfClicking)
{
    QTest::keyClick(edit, Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_EQ(whatsThis->Mode(), TWhatsThis::ContextMode);
    EXPECT_TRUE(prompt->isChecked());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);

    const QPoint inButton(5, 5);
    QTest::mouseClick(button, Qt::LeftButton, {}, inButton);
    EXPECT_TRUE(waitUntil([&] { return !help.requests.isEmpty(); }));
    EXPECT_EQ(help.requests, (QStringList{at(button->mapToGlobal(inButton)), QStringLiteral("8 7")}));
    EXPECT_EQ(buttonClicks, 0);
    EXPECT_EQ(whatsThis->Mode(), TWhatsThis::Idle);
    EXPECT_FALSE(prompt->isChecked());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Out of the mode the button works again.
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(buttonClicks, 1);
}

TEST_F(WhatsThisTest, TheModesButtonAndAnyKeyLeaveTheMode)
{
    QTest::mouseClick(promptButton(), Qt::LeftButton);
    ASSERT_EQ(whatsThis->Mode(), TWhatsThis::ContextMode);
    QTest::mouseClick(promptButton(), Qt::LeftButton);
    EXPECT_EQ(whatsThis->Mode(), TWhatsThis::Idle);
    EXPECT_FALSE(prompt->isChecked());

    whatsThis->EnterContextMode();
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(whatsThis->Mode(), TWhatsThis::Idle);
    EXPECT_TRUE(help.requests.isEmpty());
}

TEST_F(WhatsThisTest, AControlGoneBeforeItsHelpIsShownAsksNothing)
{
    whatsThis->EnterContextMode();
    QTest::mouseClick(button, Qt::LeftButton);
    delete button;
    QTest::qWait(50);
    EXPECT_TRUE(help.requests.isEmpty());
}

TEST_F(WhatsThisTest, RightClickOffersWhatsThisForThatPoint)
{
    const QPoint inButton(4, 6);
    QContextMenuEvent event(QContextMenuEvent::Mouse, inButton, button->mapToGlobal(inButton));
    QApplication::sendEvent(button, &event);
    QMenu *popup = whatsThis->PopupMenu();
    ASSERT_TRUE(popup->isVisible());
    ASSERT_EQ(popup->actions().size(), 1);
    EXPECT_EQ(popup->actions().first()->text(), QStringLiteral("What's this?"));
    EXPECT_TRUE(help.requests.isEmpty());
    popup->actions().first()->trigger();
    popup->close();
    EXPECT_EQ(help.requests, (QStringList{at(button->mapToGlobal(inButton)), QStringLiteral("8 7")}));

    // The menu key, when the options say so, asks for the focused control at
    // its centre.
    help.requests.clear();
    button->setFocus();
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(1, 1), button->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(button, &key);
    EXPECT_FALSE(popup->isVisible());
    whatsThis->Options |= TWhatsThis::wtUseAppKey;
    QApplication::sendEvent(button, &key);
    ASSERT_TRUE(popup->isVisible());
    popup->actions().first()->trigger();
    popup->close();
    EXPECT_EQ(help.requests, (QStringList{at(button->mapToGlobal(button->rect().center())), QStringLiteral("8 7")}));

    // A control with a menu of its own keeps it.
    int ownMenus = 0;
    panel->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(panel, &QWidget::customContextMenuRequested, [&] { ++ownMenus; });
    help.requests.clear();
    QContextMenuEvent onPanel(QContextMenuEvent::Mouse, QPoint(2, 2), panel->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(panel, &onPanel);
    EXPECT_EQ(ownMenus, 1);
    EXPECT_FALSE(popup->isVisible());
}

TEST_F(WhatsThisTest, AQuickRightClickLeavesTheWhatsThisMenuOpenAndItsItemShowsThePopup)
{
    const QPoint inButton(6, 5);
    rightClick(button, inButton);
    QMenu *popup = whatsThis->PopupMenu();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_TRUE(help.requests.isEmpty());
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(popup->actions().first()).center());
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(help.requests, (QStringList{at(button->mapToGlobal(inButton)), QStringLiteral("8 7")}));
    EXPECT_EQ(buttonClicks, 0);
}

TEST_F(WhatsThisTest, ControlsWithMenusOfTheirOwnGetThemOnARightClick)
{
    auto *grid = new QTableWidget(2, 2, window->centralWidget());
    auto *actionsGrid = new QTableWidget(2, 2, window->centralWidget());
    window->centralWidget()->layout()->addWidget(grid);
    window->centralWidget()->layout()->addWidget(actionsGrid);
    int gridMenus = 0;
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(grid, &QWidget::customContextMenuRequested, [&] { ++gridMenus; });
    // Its menu opens modally: the item is chosen by the time it returns.
    int actionsRun = 0;
    auto *add = new QAction(QStringLiteral("Add"), actionsGrid);
    QObject::connect(add, &QAction::triggered, [&] { ++actionsRun; });
    actionsGrid->addAction(add);
    actionsGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    QTimer::singleShot(100, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (menu != nullptr && menu->actions().value(0) == add) {
            add->trigger();
            menu->close();
        }
    });
    window->resize(400, 500);
    QTest::qWait(20);

    rightClick(grid->viewport(), QPoint(10, 10));
    EXPECT_EQ(gridMenus, 1);
    rightClick(actionsGrid->viewport(), QPoint(10, 10));
    EXPECT_EQ(actionsRun, 1);
    EXPECT_FALSE(whatsThis->PopupMenu()->isVisible());
    EXPECT_TRUE(help.requests.isEmpty());

    // A window that opens its menu on the press keeps it open after the
    // release, with no help asked for its items.
    MenuOnPress icon;
    icon.resize(24, 24);
    icon.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&icon));
    rightClick(&icon, QPoint(5, 5));
    EXPECT_TRUE(icon.menu.isVisible());
    EXPECT_FALSE(whatsThis->PopupMenu()->isVisible());
    QTest::mouseClick(&icon.menu, Qt::LeftButton, {}, icon.menu.actionGeometry(icon.menu.actions().first()).center());
    EXPECT_EQ(icon.runs, 1);
    EXPECT_TRUE(help.requests.isEmpty());
}

TEST_F(WhatsThisTest, ARightClickOnAnItemOfAnOpenMenuShowsItsHelp)
{
    int runs = 0;
    QObject::connect(item, &QAction::triggered, [&] { ++runs; });
    SetHelpContext(item, 23);
    menu->popup(window->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(waitUntil([&] { return menu->isVisible(); }));
    const QPoint inItem = menu->actionGeometry(item).center();
    QTest::mouseClick(menu, Qt::RightButton, {}, inItem);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(help.requests, (QStringList{at(menu->mapToGlobal(inItem)), QStringLiteral("8 23")}));
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(WhatsThisTest, F1InAMenuShowsTheHighlightedItemOrItsParentItem)
{
    menu->popup(window->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(waitUntil([&] { return menu->isVisible(); }));
    menu->setActiveAction(item);
    QTest::keyClick(menu, Qt::Key_F1);
    EXPECT_FALSE(menu->isVisible());
    ASSERT_EQ(help.requests.size(), 2);
    EXPECT_EQ(help.requests.last(), QStringLiteral("8 36"));

    help.requests.clear();
    SetHelpContext(item, 23);
    menu->popup(window->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(waitUntil([&] { return menu->isVisible(); }));
    menu->setActiveAction(item);
    QTest::keyClick(menu, Qt::Key_F1);
    EXPECT_EQ(help.requests.last(), QStringLiteral("8 23"));
}

TEST_F(WhatsThisTest, ContextModeClickOnAMenuItemShowsItsHelpWithoutRunningIt)
{
    int runs = 0;
    QObject::connect(item, &QAction::triggered, [&] { ++runs; });
    SetHelpContext(item, 23);
    whatsThis->EnterContextMode();
    menu->popup(window->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(waitUntil([&] { return menu->isVisible(); }));
    const QPoint inItem = menu->actionGeometry(item).center();
    QTest::mouseClick(menu, Qt::LeftButton, {}, inItem);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(help.requests.last(), QStringLiteral("8 23"));
    EXPECT_EQ(whatsThis->Mode(), TWhatsThis::Idle);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(WhatsThisTest, ContextModeClickOnACommandOfTheMenuBarShowsItsHelpAndLeavesTheMode)
{
    QAction *options = window->menuBar()->addAction(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("OptionsMenu"));
    int runs = 0;
    QObject::connect(options, &QAction::triggered, [&] { ++runs; });
    contextMap.ReadFileData([] {
        const QByteArray records = THelpContextMap::BuildRecords({{QStringLiteral("FormTest_OptionsMenu"), 22}});
        return QByteArray(1, char(records.size())) + QByteArray(3, '\0') + records;
    }());
    contextMap.SetLoadedFileName(QStringLiteral("Zentavo.hhp"));
    whatsThis->HelpContextMap = &contextMap;
    whatsThis->EnterContextMode();
    const QPoint inOptions = window->menuBar()->actionGeometry(options).center();
    QTest::mouseClick(window->menuBar(), Qt::LeftButton, {}, inOptions);
    ASSERT_TRUE(waitUntil([&] { return !help.requests.isEmpty(); }));
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(help.requests, (QStringList{at(window->menuBar()->mapToGlobal(inOptions)), QStringLiteral("8 22")}));
    EXPECT_EQ(whatsThis->Mode(), TWhatsThis::Idle);
    // The next click acts again.
    QTest::mouseClick(window->menuBar(), Qt::LeftButton, {}, inOptions);
    EXPECT_EQ(runs, 1);
}

TEST_F(WhatsThisTest, ControlContextsComeFromAProjectMapByWindowAndControlName)
{
    THelpContextMap &map = contextMap;
    map.ReadFileData([] {
        QByteArray stored(4, '\0');
        const QByteArray records = THelpContextMap::BuildRecords({{QStringLiteral("FormTest_Edit"), 61},
                                                                  {QStringLiteral("FormTest.Edit"), 62},
                                                                  {QStringLiteral("FormTest"), 60}});
        stored[0] = char(records.size());
        return stored + records;
    }());
    whatsThis->HelpContextMap = &map;
    const struct {
        QString fileName;
        const QObject *item;
        int context;
    } cases[] = {
        {QString(), edit, 0},
        {QStringLiteral("Zentavo.hhp"), edit, 61},
        {QStringLiteral("Old.HPJ"), edit, 62},
        {QStringLiteral("Zentavo.hhp"), window.get(), 60},
        {QStringLiteral("Context.h"), edit, 0},
    };
    for (const auto &c : cases) {
        map.SetLoadedFileName(c.fileName);
        EXPECT_EQ(whatsThis->FindControlContext(window.get(), c.item), c.context) << c.fileName.toStdString();
    }
}

TEST_F(WhatsThisTest, OneComponentWorksAtATimeAndTheLastGivesWayToThePrevious)
{
    EXPECT_THROW(whatsThis->SetWTAction(nullptr), EHelpError);
    auto newer = std::make_unique<TWhatsThis>();
    newer->Loaded();
    EXPECT_FALSE(whatsThis->Activated());
    EXPECT_EQ(TWhatsThis::Current(), newer.get());
    EXPECT_THROW(whatsThis->EnterContextMode(), EHelpError);
    newer.reset();
    EXPECT_TRUE(whatsThis->Activated());
    EXPECT_EQ(TWhatsThis::Current(), whatsThis.get());
    QTest::keyClick(edit, Qt::Key_F1);
    EXPECT_EQ(help.requests.size(), 2);
}

// An application that ends without quitting, as a test does, before the
// component it owns: the menu, shown even, goes with the application.
TEST(WhatsThisEndTest, AnApplicationThatEndsFirstTakesTheMenuWithIt)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    int argc = 1;
    char name[] = "whats_this_end";
    char *argv[] = {name, nullptr};
    auto application = std::make_unique<QApplication>(argc, argv);
    auto *whatsThis = new TWhatsThis(application.get());
    whatsThis->Loaded();
    bool menuGone = false;
    QObject::connect(whatsThis->PopupMenu(), &QObject::destroyed, [&menuGone] { menuGone = true; });
    whatsThis->PopupMenu()->popup(QPoint(20, 20));
    ASSERT_TRUE(waitUntil([whatsThis] { return whatsThis->PopupMenu()->isVisible(); }));
    application.reset();
    EXPECT_TRUE(menuGone);
}

} // namespace
