#include "ScriptedPrompter.h"
#include "WidgetTest.h"
#include "editor/widgets/EditCmdCopy.h"
#include "editor/widgets/EditSource.h"

#include <QAction>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

using namespace pelvo;

namespace {

class EditorDialogsTest : public WidgetTest {
protected:
    void SetUp() override
    {
        auto scripted = std::make_unique<ScriptedPrompter>();
        prompts = scripted.get();
        platform::setPrompter(std::move(scripted));
    }
    void TearDown() override { platform::setPrompter(nullptr); }

    static void press(QWidget *control, int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(control, &event);
    }

    ScriptedPrompter *prompts = nullptr;
};

TEST_F(EditorDialogsTest, SourceDialogTakesASourceOnlyWhenOneIsGiven)
{
    TFormSource dialog;
    dialog.show();
    EXPECT_FALSE(dialog.ButtonOk->isEnabled());
    press(dialog.EditWhat, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_TRUE(dialog.isVisible());

    dialog.EditWhat->insert(QStringLiteral("x"));
    EXPECT_TRUE(dialog.ButtonOk->isEnabled());
    press(dialog.EditWhat, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));

    dialog.show();
    press(dialog.EditWhat, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
}

TEST_F(EditorDialogsTest, ArgumentsDialogNeedsToOnlyWhenItIsWanted)
{
    TFormCopy dialog;
    dialog.EditFrom->setText(QStringLiteral("/home/a"));
    dialog.SetToWanted(true);
    EXPECT_FALSE(dialog.ButtonOk->isEnabled());
    dialog.EditTo->setText(QStringLiteral("/mnt/b/"));
    EXPECT_TRUE(dialog.ButtonOk->isEnabled());

    dialog.EditTo->clear();
    dialog.SetToWanted(false);
    EXPECT_TRUE(dialog.ButtonOk->isEnabled());
    EXPECT_FALSE(dialog.ButtonTo->isEnabled());
}

TEST_F(EditorDialogsTest, BrowsingForToKeepsOnlyTheFolder)
{
    QTemporaryDir old;
    TFormCopy dialog;
    dialog.EditTo->setText(old.filePath(QStringLiteral("x")));
    prompts->texts.push_back(QStringLiteral("/mnt/backup/file.txt"));
    dialog.ButtonTo->click();
    EXPECT_EQ(dialog.EditTo->text(), QStringLiteral("/mnt/backup/"));
    EXPECT_EQ(prompts->files.at(0).folder, old.path() + u'/');

    prompts->texts.push_back(QStringLiteral("/home/anna/file.txt"));
    dialog.ButtonBrowse->click();
    EXPECT_EQ(dialog.EditFrom->text(), QStringLiteral("/home/anna/file.txt"));
}

TEST_F(EditorDialogsTest, ASourceIsBrowsedForAsAFolderOrAFile)
{
    TFormSource dialog;
    ASSERT_TRUE(dialog.ButtonBrowse->menu());
    prompts->texts.push_back(QStringLiteral("/home/anna/Photos"));
    dialog.BrowseFolder->trigger();
    EXPECT_EQ(dialog.EditWhat->text(), QStringLiteral("/home/anna/Photos"));
    ASSERT_EQ(prompts->folders.size(), 1u);
    EXPECT_EQ(prompts->folders[0].start, QDir::homePath());

    // A folder that does not exist any more starts at its nearest one that does.
    dialog.EditWhat->setText(QDir::homePath() + QStringLiteral("/gone/for/good.txt"));
    prompts->texts.push_back(std::nullopt);
    dialog.BrowseFile->trigger();
    ASSERT_EQ(prompts->files.size(), 1u);
    EXPECT_EQ(prompts->files[0].mode, platform::FileRequest::Mode::Open);
    EXPECT_EQ(prompts->files[0].folder, QDir::homePath() + u'/');
    EXPECT_EQ(dialog.EditWhat->text(), QDir::homePath() + QStringLiteral("/gone/for/good.txt"));
}

} // namespace
