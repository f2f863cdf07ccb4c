#include "editor/widgets/EditCmdCopy.h"
#include "editor/widgets/EditSource.h"
#include "editor/widgets/Pelvo.h"
#include "editor/widgets/UnitSelCmd.h"

#include "MapNamesCheck.h"
#include "RecordingHelpRuntime.h"
#include "ScriptedPrompter.h"
#include "TestApplication.h"
#include "WidgetTest.h"
#include "help/widgets/ProgramHelp.h"
#include "help/widgets/QtHtmlHelp.h"
#include "help/widgets/WhatsThis.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace help;
using testapp::waitUntil;

namespace {

// The editor's window and dialogs with their help, asked about as a user
// asks: a click in what's-this mode, F1 in a menu.
class EditorHelpTest : public ProgramWindowTest {
protected:
    void SetUp() override
    {
        auto scripted = std::make_unique<ScriptedPrompter>();
        platform::setPrompter(std::move(scripted));
        form = std::make_unique<pelvo::TFormEditor>(true);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        recorder = &RecordingHelpRuntime::install();
    }
    void TearDown() override
    {
        form.reset();
        UnloadHtmlHelp();
        UseQtHelpWindows();
        platform::setPrompter(nullptr);
    }

    // The context of the one popup asked for; -1 when none was.
    int askedContext()
    {
        if (!waitUntil([&] { return !recorder->calls.isEmpty(); }, 2000) || recorder->calls.size() != 1)
            return -1;
        static const QRegularExpression popup(QStringLiteral("CSHelp\\.txt (-?\\d+) "));
        const QRegularExpressionMatch match = popup.match(recorder->calls.first());
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }
    int contextOfClick(QWidget *control)
    {
        recorder->calls.clear();
        ProgramWhatsThis()->EnterContextMode();
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(2, 2));
        return askedContext();
    }
    // F1 on the item of an open menu; without one, on the menu itself.
    int contextOfItem(const char *menuName, QAction *item)
    {
        recorder->calls.clear();
        auto *menu = form->findChild<QMenu *>(QString::fromLatin1(menuName));
        if (menu == nullptr)
            return -1;
        menu->popup(form->mapToGlobal(QPoint(20, 20)));
        if (!waitUntil([&] { return menu->isVisible(); }))
            return -1;
        // Disabled items are not highlighted, but help on them would be the same.
        if (item != nullptr)
            item->setEnabled(true);
        menu->setActiveAction(item);
        QTest::keyClick(menu, Qt::Key_F1);
        return askedContext();
    }
    QAction *action(const char *name) const { return form->findChild<QAction *>(QString::fromLatin1(name)); }

    std::unique_ptr<pelvo::TFormEditor> form;
    RecordingHelpRuntime *recorder = nullptr;
};

TEST_F(EditorHelpTest, TheWindowsControlsAndCommandsShowTheirOwnPopups)
{
    auto *toolBar = form->findChild<QToolBar *>(QStringLiteral("ToolBar"));
    ASSERT_NE(toolBar, nullptr);
    const struct {
        const char *name;
        QWidget *control;
        int context;
    } controls[] = {
        {"ComboBoxName", form->ComboBoxName, 1},
        {"StatusBar", form->findChild<QWidget *>(QStringLiteral("StatusBar")), 7},
        {"ButtonOk", form->ButtonOk, 16},
        {"ButtonCancel", form->ButtonCancel, 17},
        {"TBPrev", toolBar->widgetForAction(action("TBPrev")), 122},
        {"TBNext", toolBar->widgetForAction(action("TBNext")), 123},
        {"TBFNew", toolBar->widgetForAction(action("FNew")), 100},
    };
    for (const auto &c : controls) {
        ASSERT_NE(c.control, nullptr) << c.name;
        EXPECT_EQ(contextOfClick(c.control), c.context) << c.name;
    }

    const struct {
        const char *menu;
        const char *item;
        int context;
    } items[] = {
        {"FileMenu", nullptr, 130},    {"EditMenu", nullptr, 130},  {"HelpMenu", nullptr, 130},
        {"FileMenu", "FNew", 100},     {"FileMenu", "FOpen", 101},  {"FileMenu", "FSave", 102},
        {"FileMenu", "FSaveAss", 103}, {"FileMenu", "FPrint", 104}, {"FileMenu", "FExit", 105},
        {"EditMenu", "ENew", 110},     {"EditMenu", "ECopy", 111},  {"EditMenu", "EPaste", 112},
        {"EditMenu", "EDel", 113},     {"EditMenu", "ERen", 114},   {"HelpMenu", "HDoc", 120},
        {"HelpMenu", "HAbout", 121},
    };
    for (const auto &c : items) {
        QAction *item = c.item != nullptr ? action(c.item) : nullptr;
        ASSERT_TRUE(c.item == nullptr || item != nullptr) << c.item;
        EXPECT_EQ(contextOfItem(c.menu, item), c.context) << c.menu << ' ' << (c.item ? c.item : "");
    }
}

TEST_F(EditorHelpTest, TheDialogsAndTheirControlsShowTheirOwnPopups)
{
    pelvo::TFormSource &source = form->FormSource();
    pelvo::TFormSelCmd &command = form->FormSelCmd();
    pelvo::TFormCopy &copy = form->FormCopy();
    const struct {
        QWidget *dialog;
        QWidget *control;
        int context;
    } cases[] = {
        {&source, source.EditWhat, 3},
        {&source, source.ButtonBrowse, 14},
        {&source, source.ButtonOk, 3},
        {&command, command.RadioButtonExt, 31},
        {&command, command.RadioButtonCopy, 32},
        {&command, command.RadioButtonDel, 33},
        {&command, command.RadioButtonRen, 34},
        {&copy, copy.EditFrom, 40},
        {&copy, copy.EditTo, 41},
        {&copy, copy.ButtonBrowse, 14},
        {&copy, copy.ButtonTo, 14},
        {&copy, copy.ButtonCancel, 7},
    };
    for (const auto &c : cases) {
        c.dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(c.dialog));
        EXPECT_EQ(contextOfClick(c.control), c.context) << c.control->objectName().toStdString();
        c.dialog->hide();
    }
}

TEST_F(EditorHelpTest, EveryEditorNameOfTheMapFileIsOneOfItsControls)
{
    const QList<const QObject *> windows = {form.get(), &form->FormSource(), &form->FormSelCmd(), &form->FormCopy()};
    const int checked = CheckMapNamesOf(windows);
    EXPECT_GT(checked, 30);
}

} // namespace
