#include "EditorFixture.h"

#include "TestApplication.h"
#include "editor/widgets/CommandsPage.h"
#include "editor/widgets/CopiesPage.h"
#include "editor/widgets/DayGroup.h"
#include "editor/widgets/EditCmdCopy.h"
#include "editor/widgets/EditSource.h"
#include "editor/widgets/ExtCopiesPage.h"
#include "editor/widgets/UnitSelCmd.h"
#include "platform/CommandLine.h"
#include "shared/ConstStr.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <functional>

using namespace pelvo;
using platform::PromptButton;

namespace {

class EditorPagesTest : public EditorFixture {
protected:
    // One job with the given tail lines (destinations, copies, commands) and
    // the window started on it.
    void startWithTail(const QStringList &tail, const QStringList &sources = {QStringLiteral("D=/home/a")},
                       const QStringList &exclusions = {QStringLiteral("E=")})
    {
        QStringList lines{QStringLiteral("header"), QStringLiteral(">"), QStringLiteral("Job"),
                          QStringLiteral("/arc/a.zip")};
        lines << sources << QStringLiteral("C=") << exclusions << tail;
        const QString file = path(QStringLiteral("Jobs.dat"));
        testfiles::writeBytes(file, testfiles::cp1251Lines(lines));
        setDefaultDat(file);
        start({file});
    }

    const TBlock &job() const { return form->Blocks().at(std::size_t(form->CurBlock())); }
    CopiesPage &copies() { return *form->Pages().Copies; }
    ExtCopiesPage &extCopies() { return *form->Pages().ExtCopies; }
    CommandsPage &commands() { return *form->Pages().Commands; }

    QStringList savedLines()
    {
        form->FSave->trigger();
        return testfiles::linesOfCp1251(testfiles::readBytes(form->DatFileName()));
    }
};

TEST_F(EditorPagesTest, DaysAreStoredAsDigitsAndShownAsNames)
{
    startWithTail({QStringLiteral("/backup/=")});
    DayGroup &days = *copies().GroupBoxDestDay;
    EXPECT_EQ(copies().StringGridCopies->item(0, 1)->text(), days.EveryDay->text());
    EXPECT_TRUE(days.EveryDay->isChecked());
    EXPECT_FALSE(days.DayOfWeek[1]->isEnabled());

    days.EveryDay->click();
    days.DayOfWeek[5]->click();
    days.DayOfWeek[1]->click();
    EXPECT_EQ(job().Dests, QStringList{QStringLiteral("/backup/=15")});
    EXPECT_EQ(copies().StringGridCopies->item(0, 1)->text(), QStringLiteral("Mo,Fr"));
    EXPECT_TRUE(form->JobsModified());

    // The same on the command page.
    days.EveryDay->click();
    EXPECT_EQ(job().Dests, QStringList{QStringLiteral("/backup/=")});
}

TEST_F(EditorPagesTest, DaysOfAHandMadeFileAreKeptAsWritten)
{
    startWithTail({QStringLiteral("/backup/=19"), QStringLiteral("CMD2=run=x6")});
    EXPECT_EQ(copies().StringGridCopies->item(0, 1)->text(), QStringLiteral("Mo,9"));
    EXPECT_EQ(commands().StringGridComs->item(0, 1)->text(), QStringLiteral("x,Sa"));
    EXPECT_TRUE(copies().GroupBoxDestDay->DayOfWeek[1]->isChecked());
    const QStringList lines = savedLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("/backup/=19")));
    EXPECT_TRUE(lines.contains(QStringLiteral("CMD2=run=x6")));
}

TEST_F(EditorPagesTest, RegimeRadiosAddAndRemoveTheEvenMark)
{
    struct Case {
        QString path;
        bool even;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("/backup/"), true, QStringLiteral("/backup?/")},
        {QStringLiteral("/backup"), true, QStringLiteral("/backup?")},
        {QStringLiteral("/backup?/"), true, QStringLiteral("/backup?/")},
        {QStringLiteral("/backup?/"), false, QStringLiteral("/backup/")},
    };
    for (const Case &c : cases) {
        startWithTail({c.path + QStringLiteral("=3"), QStringLiteral("M=") + c.path + QStringLiteral("=1")});
        (c.even ? copies().RadioButtonReg2 : copies().RadioButtonReg1)->click();
        (c.even ? extCopies().RadioButton2 : extCopies().RadioButton1)->click();
        EXPECT_EQ(job().Dests, QStringList{c.expected + QStringLiteral("=3")}) << c.path.toStdString();
        EXPECT_EQ(job().ExtCopies, QStringList{QStringLiteral("M>") + c.expected + QStringLiteral("=1")});
        EXPECT_EQ(copies().RadioButtonReg2->isChecked(), c.expected.contains(u'?'));
        form.reset();
    }
}

TEST_F(EditorPagesTest, AdditionalCopiesTypesAndTheDeleteFlag)
{
    startWithTail({QStringLiteral(u"\u041D:/old/=1")});
    EXPECT_TRUE(extCopies().RadioButtonWeek->isChecked());
    EXPECT_EQ(extCopies().RadioButton1->text(), zentavo::sReg1Week);
    EXPECT_TRUE(extCopies().CheckBoxDel->isChecked());

    prompts->texts.push_back(QStringLiteral("/mnt/new"));
    extCopies().BitBtnAddDestExt->click();
    EXPECT_EQ(job().ExtCopies, (QStringList{QStringLiteral("W>/old/=1"), QStringLiteral("W>/mnt/new=")}));
    EXPECT_TRUE(extCopies().StringGridACopies->currentRow() == 1);

    extCopies().RadioButtonQuart->click();
    EXPECT_EQ(job().ExtCopies.at(1), QStringLiteral("Q>/mnt/new="));
    EXPECT_EQ(extCopies().StringGridACopies->item(1, 1)->text(), extCopies().RadioButtonQuart->text());
    EXPECT_EQ(extCopies().RadioButton2->text(), zentavo::sReg2Quart);

    // The new copy shows an empty flag; the box then sets one flag for every copy of the job.
    EXPECT_FALSE(extCopies().CheckBoxDel->isChecked());
    extCopies().CheckBoxDel->click();
    EXPECT_EQ(job().ExtCopies, (QStringList{QStringLiteral("W>/old/=1"), QStringLiteral("Q>/mnt/new=1")}));
    extCopies().CheckBoxDel->click();
    EXPECT_EQ(job().ExtCopies, (QStringList{QStringLiteral("W>/old/=0"), QStringLiteral("Q>/mnt/new=0")}));

    // A cancelled browse adds nothing.
    prompts->texts.push_back(std::nullopt);
    extCopies().BitBtnAddDestExt->click();
    EXPECT_EQ(job().ExtCopies.size(), 2);
    EXPECT_TRUE(savedLines().contains(QStringLiteral("W=/old/=0")));
}

TEST_F(EditorPagesTest, ANewSourceTakesTheSharedExclusions)
{
    startWithTail({}, {QStringLiteral("D=/home/a"), QStringLiteral("D=/home/b")},
                  {QStringLiteral("E=*.tmp"), QStringLiteral("E=*.tmp")});
    ASSERT_TRUE(archive().CheckBoxExclude->isChecked());
    dialogs->expect(QStringLiteral("FormSource"), [](QDialog &dialog) {
        static_cast<TFormSource &>(dialog).EditWhat->setText(QStringLiteral("/home/c"));
        return int(QDialog::Accepted);
    });
    archive().BitBtnAdd->click();
    EXPECT_EQ(job().Exclusions,
              (QStringList{QStringLiteral("*.tmp"), QStringLiteral("*.tmp"), QStringLiteral("*.tmp")}));

    archive().EditX->setText(QStringLiteral("*.bak"));
    EXPECT_EQ(job().Exclusions,
              (QStringList{QStringLiteral("*.bak"), QStringLiteral("*.bak"), QStringLiteral("*.bak")}));
}

TEST_F(EditorPagesTest, RunBeforeOrAfterArchiving)
{
    startWithTail({QStringLiteral("CMD1=backup-prepare=")});
    EXPECT_EQ(commands().StringGridComs->item(0, 2)->text(), QStringLiteral("Be"));
    EXPECT_FALSE(form->JobsModified());
    commands().RadioButtonRA->click();
    EXPECT_EQ(job().Cmds, QStringList{QStringLiteral("CMD2>backup-prepare=")});
    EXPECT_EQ(commands().StringGridComs->item(0, 2)->text(), commands().RadioButtonRA->text().left(2));
    EXPECT_TRUE(form->JobsModified());
}

TEST_F(EditorPagesTest, NewCommandsThroughTheTypeAndArgumentsDialogs)
{
    startWithTail({});
    const auto choose = [this](QRadioButton *TFormSelCmd::*kind) {
        dialogs->expect(QStringLiteral("FormSelCmd"), [kind](QDialog &dialog) {
            (static_cast<TFormSelCmd &>(dialog).*kind)->setChecked(true);
            return int(QDialog::Accepted);
        });
    };
    // The type dialog cancelled: no command.
    dialogs->expect(QStringLiteral("FormSelCmd"), [](QDialog &) { return int(QDialog::Rejected); });
    commands().BitBtnAddCmd->click();
    EXPECT_TRUE(job().Cmds.isEmpty());

    // A copy whose arguments dialog is cancelled: no empty command either.
    choose(&TFormSelCmd::RadioButtonCopy);
    dialogs->expect(QStringLiteral("FormCopy"), [](QDialog &) { return int(QDialog::Rejected); });
    commands().BitBtnAddCmd->click();
    EXPECT_TRUE(job().Cmds.isEmpty());
    EXPECT_EQ(commands().StringGridComs->rowCount(), 0);

    choose(&TFormSelCmd::RadioButtonCopy);
    dialogs->expect(QStringLiteral("FormCopy"), [](QDialog &dialog) {
        auto &paths = static_cast<TFormCopy &>(dialog);
        EXPECT_TRUE(paths.EditTo->isEnabled());
        paths.EditFrom->setText(QStringLiteral("/home/Anna/Docs"));
        paths.EditTo->setText(QStringLiteral("/mnt/Backup/"));
        return int(QDialog::Accepted);
    });
    commands().BitBtnAddCmd->click();
    EXPECT_EQ(job().Cmds, QStringList{QStringLiteral("CMD1>CCPY \"/home/Anna/Docs\" TO \"/mnt/Backup/\"=")});
    EXPECT_EQ(commands().EditCmd->text(), QStringLiteral("Copy \"/home/Anna/Docs\" to \"/mnt/Backup/\""));
    EXPECT_EQ(commands().StringGridComs->item(0, 0)->text(), commands().EditCmd->text());
    EXPECT_TRUE(commands().RadioButtonCopy->isChecked());

    choose(&TFormSelCmd::RadioButtonDel);
    dialogs->expect(QStringLiteral("FormCopy"), [](QDialog &dialog) {
        auto &paths = static_cast<TFormCopy &>(dialog);
        EXPECT_FALSE(paths.EditTo->isEnabled());
        paths.EditFrom->setText(QStringLiteral("/tmp/Old"));
        return int(QDialog::Accepted);
    });
    commands().BitBtnAddCmd->click();
    EXPECT_EQ(job().Cmds.at(1), QStringLiteral("CMD1>CDEL \"/tmp/Old\"="));

    // Viewing the commands again changes nothing, and the file reads back the same.
    form->CBNameChange(true);
    const QStringList lines = savedLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("CMD1=CCPY \"/home/Anna/Docs\" TO \"/mnt/Backup/\"=")));
    EXPECT_TRUE(lines.contains(QStringLiteral("CMD1=CDEL \"/tmp/Old\"=")));
}

// However the add is asked for, a cancelled one shows no row while its
// dialogs are open before the kind is chosen, and leaves the commands, the
// selection and the file's state as they were.
TEST_F(EditorPagesTest, ACancelledAddLeavesNothingWhereverItWasAskedFor)
{
    const QStringList commandLines{QStringLiteral("CMD1>backup-prepare="), QStringLiteral("CMD2>backup-done=")};
    startWithTail({QStringLiteral("CMD1=backup-prepare="), QStringLiteral("CMD2=backup-done=")});
    form->Pages().setCurrentWidget(&commands());
    ASSERT_EQ(job().Cmds, commandLines);
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"button", [this] { commands().BitBtnAddCmd->click(); }},
        {"popup", [this] { form->Pages().PopupDestAdd->trigger(); }},
        {"Ins",
         [this] {
             QKeyEvent insert(QEvent::KeyPress, Qt::Key_Insert, Qt::NoModifier);
             QApplication::sendEvent(commands().StringGridComs, &insert);
         }},
    };
    for (const auto &[how, add] : ways) {
        for (const bool cancelPaths : {false, true}) {
            SCOPED_TRACE(std::string(how) + (cancelPaths ? ", paths cancelled" : ", kind cancelled"));
            commands().StringGridComs->setCurrentCell(0, 0);
            dialogs->expect(QStringLiteral("FormSelCmd"), [&](QDialog &dialog) {
                EXPECT_EQ(commands().StringGridComs->rowCount(), 2);
                EXPECT_EQ(job().Cmds, commandLines);
                static_cast<TFormSelCmd &>(dialog).RadioButtonCopy->setChecked(true);
                return int(cancelPaths ? QDialog::Accepted : QDialog::Rejected);
            });
            if (cancelPaths)
                dialogs->expect(QStringLiteral("FormCopy"), [](QDialog &) { return int(QDialog::Rejected); });
            add();
            EXPECT_TRUE(dialogs->allPlayed());
            EXPECT_EQ(job().Cmds, commandLines);
            EXPECT_EQ(commands().StringGridComs->rowCount(), 2);
            EXPECT_EQ(commands().StringGridComs->currentRow(), 0);
            EXPECT_EQ(commands().EditCmd->text(), QStringLiteral("backup-prepare"));
            EXPECT_FALSE(form->JobsModified());
        }
    }
}

TEST_F(EditorPagesTest, ViewingKeepsTheCaseAndTheTextOfInternalCommands)
{
    startWithTail({QStringLiteral("CMD2=cren \"/home/Anna/a.txt\" TO \"/home/Anna/B/\"=0"),
                   QStringLiteral("CMD1=CCPY /no/quotes=")});
    EXPECT_EQ(commands().EditCmd->text(), QStringLiteral("Rename \"/home/Anna/a.txt\" to \"/home/Anna/B/\""));
    EXPECT_TRUE(commands().EditCmd->isReadOnly());
    commands().StringGridComs->setCurrentCell(1, 0);
    EXPECT_EQ(commands().EditCmd->text(), QStringLiteral("CCPY /no/quotes"));
    EXPECT_EQ(job().Cmds,
              (QStringList{QStringLiteral("CMD2>cren \"/home/Anna/a.txt\" TO \"/home/Anna/B/\"=0"),
                           QStringLiteral("CMD1>CCPY /no/quotes=")}));
    EXPECT_FALSE(form->JobsModified());
}

TEST_F(EditorPagesTest, AnEqualsSignIsKeptAsTypedAndToldOnlyWhenTheFieldIsLeft)
{
    startWithTail({QStringLiteral("/backup/=1"), QStringLiteral("/other/="), QStringLiteral("W=/mnt/week/=1"),
                   QStringLiteral("CMD1=run=0")});
    form->activateWindow();
    ASSERT_TRUE(testapp::waitUntil([this] { return form->isActiveWindow(); }));
    struct Case {
        ListPage *page;
        QLineEdit *edit;
        QTableWidget *grid;
        QString typed;
        std::function<QString()> line;
        QString stored; // the typed text with the line's days or flag
    };
    const std::vector<Case> cases{
        {&copies(), copies().EditDest, copies().StringGridCopies, QStringLiteral("C=second comment"),
         [this] { return job().Dests.at(0); }, QStringLiteral("C=second comment=1")},
        {&extCopies(), extCopies().EditDestExt, extCopies().StringGridACopies, QStringLiteral("/mnt/a=b"),
         [this] { return job().ExtCopies.at(0); }, QStringLiteral("W>/mnt/a=b=1")},
        {&commands(), commands().EditCmd, commands().StringGridComs, QStringLiteral("tar cf=x.tar"),
         [this] { return job().Cmds.at(0); }, QStringLiteral("CMD1>tar cf=x.tar=0")},
    };
    for (const Case &c : cases) {
        const std::string name = c.edit->objectName().toStdString();
        form->Pages().setCurrentWidget(c.page);
        c.edit->setFocus();
        ASSERT_TRUE(testapp::waitUntil([&] { return c.edit->hasFocus(); })) << name;
        c.edit->selectAll();
        QTest::keyClicks(c.edit, c.typed);
        EXPECT_EQ(c.edit->text(), c.typed) << name;
        EXPECT_EQ(c.line(), c.stored) << name;
        EXPECT_EQ(c.grid->item(0, 0)->text(), c.typed) << name;
        EXPECT_TRUE(prompts->messages.empty()) << name << ": told while typing";

        prompts->buttons.push_back(PromptButton::Ok);
        QTest::keyClick(c.edit, Qt::Key_Tab);
        ASSERT_TRUE(testapp::waitUntil([this] { return !prompts->messages.empty(); })) << name;
        EXPECT_TRUE(prompts->messages.back().text.contains(c.typed)) << name;
        EXPECT_EQ(c.edit->text(), c.typed) << name;
        prompts->messages.clear();
    }
    // Another row and back: nothing typed is lost.
    form->Pages().setCurrentWidget(&copies());
    copies().StringGridCopies->setCurrentCell(1, 0);
    copies().StringGridCopies->setCurrentCell(0, 0);
    EXPECT_EQ(copies().EditDest->text(), cases[0].typed);
    EXPECT_TRUE(form->JobsModified());
}

TEST_F(EditorPagesTest, AFolderOrCommandWithAnEqualsSignIsRefusedOnSaveAtItsPlace)
{
    struct Case {
        QString tail;
        QString place;
        QString text;
    };
    const std::vector<Case> cases{
        {QStringLiteral("/a=b/=1"), QStringLiteral("page \"Copies\", line 1"), QStringLiteral("/a=b/")},
        {QStringLiteral("W=/a=b/=1"), QStringLiteral("page \"Additional copies\", line 1"), QStringLiteral("/a=b/")},
        {QStringLiteral("CMD1=tar cf=x.tar=0"), QStringLiteral("page \"Commands\", line 1"),
         QStringLiteral("tar cf=x.tar")},
    };
    for (const Case &c : cases) {
        startWithTail({c.tail});
        const QByteArray before = testfiles::readBytes(form->DatFileName());
        form->Pages().setCurrentIndex(0);
        prompts->buttons.push_back(PromptButton::Ok);
        form->FSave->trigger();
        ASSERT_EQ(prompts->messages.size(), 1u) << c.tail.toStdString();
        EXPECT_EQ(prompts->messages[0].title, QStringLiteral("The job cannot be saved"));
        EXPECT_TRUE(prompts->messages[0].text.startsWith(QStringLiteral("Job \"Job\", ") + c.place))
            << prompts->messages[0].text.toStdString();
        EXPECT_TRUE(prompts->messages[0].text.contains(u'"' + c.text + u'"')) << c.tail.toStdString();
        EXPECT_EQ(testfiles::readBytes(form->DatFileName()), before) << c.tail.toStdString();
        prompts->messages.clear();
        form.reset();
    }
}

TEST_F(EditorPagesTest, DeletingTheLastRowSelectsARowThatExists)
{
    startWithTail({QStringLiteral("/one/="), QStringLiteral("/two/="), QStringLiteral("/three/=")});
    copies().StringGridCopies->setCurrentCell(2, 0);
    EXPECT_EQ(copies().EditDest->text(), QStringLiteral("/three/"));
    prompts->buttons.push_back(PromptButton::Ok);
    copies().BitBtnDelDest->click();
    EXPECT_EQ(prompts->messages.back().text, zentavo::sQuestionDelCopy + QStringLiteral("\n/three/"));
    EXPECT_EQ(copies().StringGridCopies->currentRow(), 1);
    EXPECT_EQ(copies().EditDest->text(), QStringLiteral("/two/"));
    copies().GroupBoxDestDay->EveryDay->click();
    copies().GroupBoxDestDay->DayOfWeek[3]->click();
    EXPECT_EQ(job().Dests, (QStringList{QStringLiteral("/one/="), QStringLiteral("/two/=3")}));

    prompts->buttons.push_back(PromptButton::Cancel);
    copies().BitBtnDelDest->click();
    EXPECT_EQ(job().Dests.size(), 2);
}

TEST_F(EditorPagesTest, PickersStartAtTheFieldOrHomeAndFitWhatTheyPick)
{
    startWithTail({QStringLiteral("CMD1=run=")});
    const QString tools = path(QStringLiteral("my tools"));
    ASSERT_TRUE(QDir().mkpath(tools));

    // The archive: a save dialog, so a new name can be given, in the field's folder.
    type(archive().EditArch, tools + QStringLiteral("/new.zip"));
    prompts->texts.push_back(std::nullopt);
    archive().ButtonBrowse->click();
    // A program: any executable, starting where the command's program lies.
    type(commands().EditCmd, u'"' + tools + QStringLiteral("/old run\" -x"));
    prompts->texts.push_back(std::nullopt);
    commands().ButtonCmd->click();
    // Copy folders: home when the field is empty.
    prompts->texts.push_back(std::nullopt);
    copies().BitBtnAddDest->click();

    ASSERT_EQ(prompts->files.size(), 2u);
    EXPECT_EQ(prompts->files[0].mode, platform::FileRequest::Mode::Save);
    EXPECT_EQ(prompts->files[0].folder, tools + u'/');
    EXPECT_EQ(prompts->files[0].fileName, QStringLiteral("new.zip"));
    EXPECT_EQ(prompts->files[1].mode, platform::FileRequest::Mode::Open);
    EXPECT_EQ(prompts->files[1].folder, tools + u'/');
    EXPECT_TRUE(prompts->files[1].filter.endsWith(QStringLiteral("(*)"))) << prompts->files[1].filter.toStdString();
    ASSERT_EQ(prompts->folders.size(), 1u);
    EXPECT_EQ(prompts->folders[0].start, QDir::homePath());
}

TEST_F(EditorPagesTest, ABrowsedProgramWithBlanksIsQuotedAndACancelledOneAddsNothing)
{
    startWithTail({});
    const auto external = [this] {
        dialogs->expect(QStringLiteral("FormSelCmd"), [](QDialog &dialog) {
            static_cast<TFormSelCmd &>(dialog).RadioButtonExt->setChecked(true);
            return int(QDialog::Accepted);
        });
    };
    external();
    prompts->texts.push_back(std::nullopt);
    commands().BitBtnAddCmd->click();
    EXPECT_TRUE(job().Cmds.isEmpty());
    EXPECT_EQ(commands().StringGridComs->rowCount(), 0);

    const QString program = QStringLiteral("/opt/my tools/back up");
    external();
    prompts->texts.push_back(program);
    commands().BitBtnAddCmd->click();
    ASSERT_EQ(job().Cmds.size(), 1);
    EXPECT_EQ(platform::splitCommandLine(job().Cmds.TailAt(0)), QStringList{program});
    EXPECT_TRUE(savedLines().contains(QStringLiteral("CMD1=\"/opt/my tools/back up\"=")));

    // A path no command line can name is refused, the command stays as it was.
    prompts->texts.push_back(QStringLiteral("/odd/\"quoted\""));
    prompts->buttons.push_back(PromptButton::Ok);
    commands().ButtonCmd->click();
    EXPECT_EQ(platform::splitCommandLine(job().Cmds.TailAt(0)), QStringList{program});
}

TEST_F(EditorPagesTest, TabLeavesEveryGrid)
{
    startWithTail({QStringLiteral("/one/="), QStringLiteral("W=/w/=0"), QStringLiteral("CMD1=run=")});
    form->activateWindow();
    ASSERT_TRUE(testapp::waitUntil([this] { return form->isActiveWindow(); }));
    for (QTableWidget *grid : {archive().StringGridArch, copies().StringGridCopies, extCopies().StringGridACopies,
                               commands().StringGridComs}) {
        for (int page = 0; page < form->Pages().count(); ++page) {
            if (form->Pages().widget(page)->isAncestorOf(grid))
                form->Pages().setCurrentIndex(page);
        }
        grid->setFocus();
        ASSERT_TRUE(grid->hasFocus()) << grid->objectName().toStdString();
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(grid, &tab);
        EXPECT_FALSE(grid->hasFocus()) << grid->objectName().toStdString();
    }
}

TEST_F(EditorPagesTest, EditingASourceStartsOnItAndACancelKeepsIt)
{
    startWithTail({});
    for (const auto &[result, expected] : {std::pair{int(QDialog::Rejected), QStringLiteral("/home/a")},
                                           std::pair{int(QDialog::Accepted), QStringLiteral("/home/b")}}) {
        dialogs->expect(QStringLiteral("FormSource"), [result = result](QDialog &dialog) {
            auto &sourceDialog = static_cast<TFormSource &>(dialog);
            EXPECT_EQ(sourceDialog.EditWhat->text(), QStringLiteral("/home/a"));
            sourceDialog.EditWhat->setText(QStringLiteral("/home/b"));
            return result;
        });
        form->Pages().Archive->BitBtnEdit->click();
        EXPECT_EQ(job().Sources, QStringList{expected});
        EXPECT_EQ(form->JobsModified(), result == QDialog::Accepted);
    }
}

} // namespace

// Every control that edits the job, driven as the user drives it, leaves
// the document knowing that the jobs changed, also once the edit fields'
// own marks are cleared, and the file saved differs. Walking through the
// jobs and the lines of every page changes nothing.
TEST_F(EditorPagesTest, EveryEditingControlMarksTheJobsChanged)
{
    const QStringList tail{QStringLiteral("/backup/=1"),     QStringLiteral("/even?/="),
                           QStringLiteral("M=/month/=0"),    QStringLiteral("Y=/year?/=1"),
                           QStringLiteral("CMD1=prepare=2"), QStringLiteral("CMD2=CCPY \"/a\" TO \"/b\"=")};
    const QStringList sources{QStringLiteral("D=/home/a"), QStringLiteral("D=/home/b")};
    const QStringList exclusions{QStringLiteral("E=*.tmp"), QStringLiteral("E=*.bak")};
    const auto startJob = [&] {
        form.reset();
        startWithTail(tail, sources, exclusions);
    };
    startJob();
    for (QTableWidget *grid : {archive().StringGridArch, copies().StringGridCopies, extCopies().StringGridACopies,
                               commands().StringGridComs}) {
        for (int row = grid->rowCount() - 1; row >= 0; --row)
            grid->setCurrentCell(row, 0);
    }
    form->Pages().ShowJob();
    EXPECT_FALSE(form->JobsModified());
    const QStringList unchanged = savedLines();

    const auto answerSource = [this](const QString &path) {
        dialogs->expect(QStringLiteral("FormSource"), [path](QDialog &dialog) {
            static_cast<TFormSource &>(dialog).EditWhat->setText(path);
            return int(QDialog::Accepted);
        });
    };
    const auto answerText = [this](const QString &text) { prompts->texts.push_back(text); };
    const auto confirm = [this] { prompts->buttons.push_back(PromptButton::Ok); };
    const auto onPage = [this](QWidget *page) { form->Pages().setCurrentWidget(page); };
    const auto copyRow = [this](int row) { copies().StringGridCopies->setCurrentCell(row, 0); };
    const auto extRow = [this](int row) { extCopies().StringGridACopies->setCurrentCell(row, 0); };
    const auto commandRow = [this](int row) { commands().StringGridComs->setCurrentCell(row, 0); };
    const std::vector<std::pair<const char *, std::function<void()>>> controls{
        {"EditArch", [&] { type(archive().EditArch, QStringLiteral("/arc/b.zip")); }},
        {"ButtonBrowse",
         [&] {
             answerText(QStringLiteral("/arc/c.zip"));
             archive().ButtonBrowse->click();
         }},
        {"BitBtnAdd",
         [&] {
             answerSource(QStringLiteral("/home/c"));
             archive().BitBtnAdd->click();
         }},
        {"BitBtnEdit",
         [&] {
             answerSource(QStringLiteral("/home/d"));
             archive().BitBtnEdit->click();
         }},
        {"BitBtnDel", [&] { archive().BitBtnDel->click(); }},
        {"PopupSourceAdd",
         [&] {
             answerSource(QStringLiteral("/home/e"));
             archive().PopupSourceAdd->trigger();
         }},
        {"PopupSourceEdit",
         [&] {
             answerSource(QStringLiteral("/home/f"));
             archive().PopupSourceEdit->trigger();
         }},
        {"PopupSourceDel", [&] { archive().PopupSourceDel->trigger(); }},
        {"EditX", [&] { type(archive().EditX, QStringLiteral("*.o")); }},
        {"CheckBoxExclude", [&] { archive().CheckBoxExclude->click(); }},
        {"EditZ", [&] { type(archive().EditZ, QStringLiteral("weekly")); }},
        {"BitBtnAddDest",
         [&] {
             answerText(QStringLiteral("/mnt/new"));
             copies().BitBtnAddDest->click();
         }},
        {"BitBtnDelDest",
         [&] {
             confirm();
             copies().BitBtnDelDest->click();
         }},
        {"EditDest", [&] { type(copies().EditDest, QStringLiteral("/mnt/typed")); }},
        {"ButtonDest",
         [&] {
             answerText(QStringLiteral("/mnt/picked"));
             copies().ButtonDest->click();
         }},
        {"RadioButtonReg1",
         [&] {
             copyRow(1);
             copies().RadioButtonReg1->click();
         }},
        {"RadioButtonReg2", [&] { copies().RadioButtonReg2->click(); }},
        {"DayOfWeek3", [&] { copies().GroupBoxDestDay->DayOfWeek[3]->click(); }},
        {"CheckBoxEveryDay", [&] { copies().GroupBoxDestDay->EveryDay->click(); }},
        {"BitBtnAddDestExt",
         [&] {
             answerText(QStringLiteral("/mnt/week"));
             extCopies().BitBtnAddDestExt->click();
         }},
        {"BitBtnDelDestExt",
         [&] {
             confirm();
             extCopies().BitBtnDelDestExt->click();
         }},
        {"EditDestExt", [&] { type(extCopies().EditDestExt, QStringLiteral("/mnt/typed")); }},
        {"ButtonDestExt",
         [&] {
             answerText(QStringLiteral("/mnt/picked"));
             extCopies().ButtonDestExt->click();
         }},
        {"RadioButton1",
         [&] {
             extRow(1);
             extCopies().RadioButton1->click();
         }},
        {"RadioButton2", [&] { extCopies().RadioButton2->click(); }},
        {"CheckBoxDel", [&] { extCopies().CheckBoxDel->click(); }},
        {"RadioButtonWeek", [&] { extCopies().RadioButtonWeek->click(); }},
        {"RadioButtonMonth",
         [&] {
             extRow(1);
             extCopies().RadioButtonMonth->click();
         }},
        {"RadioButtonQuart", [&] { extCopies().RadioButtonQuart->click(); }},
        {"RadioButtonYear", [&] { extCopies().RadioButtonYear->click(); }},
        {"PopupDestAdd",
         [&] {
             onPage(&extCopies());
             answerText(QStringLiteral("/mnt/popup"));
             form->Pages().PopupDestAdd->trigger();
         }},
        {"PopupDestDel",
         [&] {
             onPage(&copies());
             confirm();
             form->Pages().PopupDestDel->trigger();
         }},
        {"BitBtnAddCmd",
         [&] {
             dialogs->expect(QStringLiteral("FormSelCmd"), [](QDialog &dialog) {
                 static_cast<TFormSelCmd &>(dialog).RadioButtonExt->setChecked(true);
                 return int(QDialog::Accepted);
             });
             answerText(QStringLiteral("/usr/bin/sync"));
             commands().BitBtnAddCmd->click();
         }},
        {"BitBtnDelCmd",
         [&] {
             confirm();
             commands().BitBtnDelCmd->click();
         }},
        {"EditCmd", [&] { type(commands().EditCmd, QStringLiteral("prepare --all")); }},
        {"ButtonCmd",
         [&] {
             answerText(QStringLiteral("/usr/bin/env"));
             commands().ButtonCmd->click();
         }},
        {"ButtonEdit",
         [&] {
             commandRow(1);
             dialogs->expect(QStringLiteral("FormCopy"), [](QDialog &dialog) {
                 static_cast<TFormCopy &>(dialog).EditTo->setText(QStringLiteral("/c"));
                 return int(QDialog::Accepted);
             });
             commands().ButtonEdit->click();
         }},
        {"DayOfWeekC2", [&] { commands().GroupBoxCmdDay->DayOfWeek[2]->click(); }},
        {"CheckBoxCEveryDay", [&] { commands().GroupBoxCmdDay->EveryDay->click(); }},
        {"RadioButtonRA", [&] { commands().RadioButtonRA->click(); }},
        {"RadioButtonRB",
         [&] {
             commandRow(1);
             commands().RadioButtonRB->click();
         }},
    };
    for (const auto &[control, edit] : controls) {
        SCOPED_TRACE(control);
        startJob();
        edit();
        EXPECT_TRUE(dialogs->allPlayed());
        form->Pages().ClearEditMarks();
        EXPECT_TRUE(form->JobsModified());
        EXPECT_NE(savedLines(), unchanged);
    }
}
