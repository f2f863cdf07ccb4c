#include "EditorFixture.h"

#include "PdfText.h"
#include "TestApplication.h"
#include "editor/EditorAbout.h"
#include "editor/JobFileFormat.h"
#include "editor/widgets/CopiesPage.h"
#include "editor/widgets/EditSource.h"
#include "platform/Paths.h"
#include "platform/VersionBlock.h"
#include "platform/WindowMessages.h"
#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>

using namespace pelvo;
using platform::PromptButton;

namespace {

class EditorWindowTest : public EditorFixture {
protected:
    // Adds a source through the source dialog, as the Add button does.
    void addSource(const QString &source)
    {
        dialogs->expect(QStringLiteral("FormSource"), [source](QDialog &dialog) {
            auto &sourceDialog = static_cast<TFormSource &>(dialog);
            EXPECT_TRUE(sourceDialog.EditWhat->text().isEmpty());
            sourceDialog.EditWhat->setText(source);
            return int(QDialog::Accepted);
        });
        archive().BitBtnAdd->click();
    }

    // A new job through the New job command, filled in completely.
    void newJob(const QString &name, const QString &archiveName, const QString &source)
    {
        prompts->texts.push_back(name);
        form->ENew->trigger();
        type(archive().EditArch, archiveName);
        addSource(source);
    }

    bool closes() { return form->close(); }

    static void pressKey(QWidget *control, int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(control, &press);
    }
};

// Wherever the window manager would put it (openbox: in the bottom-right
// corner, with Ok and Cancel against the panel), the window starts in the
// middle of the screen.
TEST_F(EditorWindowTest, TheWindowStartsCentredOnTheScreen)
{
    start({writeJobs(1)});
    expectCentredOnTheScreen(*form);
}

TEST_F(EditorWindowTest, StartWithoutAJobFileAsksForTheFirstJobOnce)
{
    prompts->texts.push_back(QStringLiteral("Home"));
    start();
    ASSERT_EQ(prompts->inputs.size(), 1u);
    EXPECT_EQ(prompts->inputs[0].prompt, zentavo::sJob + u':');
    EXPECT_EQ(form->StatusText(), QStringLiteral("1 / 1"));
    EXPECT_EQ(jobNames(), QStringList{QStringLiteral("Home")});
    EXPECT_TRUE(archive().EditArch->isEnabled());
    EXPECT_EQ(form->DatFileName(), NoNameDat);

    // Coming back from the editor's own dialogs asks no second time.
    addSource(QStringLiteral("/home/anna"));
    form->activateWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts->inputs.size(), 1u);
}

TEST_F(EditorWindowTest, OpensAHandMadeCodePage1251File)
{
    const QString file = path(QStringLiteral("Дом.dat"));
    testfiles::writeBytes(
        file,
        testfiles::cp1251Lines({QStringLiteral("any header"), QStringLiteral(">"), QStringLiteral("Документы"),
                                QStringLiteral("/arc/Документы.zip"), QStringLiteral("d=/home/anna/Документы"),
                                QStringLiteral("// note"), QStringLiteral("D=/home/anna/Почта"),
                                QStringLiteral("c=Архив"), QStringLiteral("E=*.tmp"), QStringLiteral("E=")}));
    start({file});
    EXPECT_EQ(form->windowTitle(), zentavo::sEditorHeader + QStringLiteral(" - Дом.dat"));
    EXPECT_EQ(jobNames(), QStringList{QStringLiteral("Документы")});
    EXPECT_EQ(archive().EditArch->text(), QStringLiteral("/arc/Документы.zip"));
    EXPECT_EQ(archive().EditZ->text(), QStringLiteral("Архив"));
    ASSERT_EQ(archive().StringGridArch->rowCount(), 2);
    EXPECT_EQ(archive().StringGridArch->item(1, 0)->text(), QStringLiteral("/home/anna/Почта"));
    EXPECT_EQ(archive().EditX->text(), QStringLiteral("*.tmp"));
    EXPECT_FALSE(archive().CheckBoxExclude->isChecked());
    EXPECT_FALSE(form->JobsModified());
    EXPECT_EQ(form->StatusText(), QStringLiteral("1 / 1"));
    EXPECT_TRUE(form->HPrompt->isCheckable());
    EXPECT_TRUE(form->FSave->isEnabled());
}

TEST_F(EditorWindowTest, UnreadableStartFileDisablesTheForm)
{
    prompts->buttons.push_back(PromptButton::Ok);
    start({path(QStringLiteral("missing.dat"))});
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->messages[0].text.startsWith(zentavo::sReadError));
    EXPECT_FALSE(form->ComboBoxName->isEnabled());
    EXPECT_FALSE(form->FSave->isEnabled());
    EXPECT_TRUE(form->ENew->isEnabled());
    EXPECT_TRUE(prompts->inputs.empty());
}

TEST_F(EditorWindowTest, PasteGoesBeforeTheJobShownAndKeepsNamesAndJobsAligned)
{
    start({writeJobs(5)});
    form->ComboBoxName->setCurrentIndex(4);
    form->CBNameChange(true);
    form->ECopy->trigger();
    form->ComboBoxName->setCurrentIndex(2);
    form->CBNameChange(true);

    form->EPaste->trigger();
    EXPECT_EQ(form->StatusText(), QStringLiteral("3 / 6"));
    EXPECT_EQ(
        jobNames(),
        (QStringList{QStringLiteral("Job 1"), QStringLiteral("Job 2"), zentavo::sCopyOfJob + QStringLiteral(" Job 5"),
                     QStringLiteral("Job 3"), QStringLiteral("Job 4"), QStringLiteral("Job 5")}));
    const QString archives[]
        = {QStringLiteral("/arc/1.zip"), QStringLiteral("/arc/2.zip"), QStringLiteral("/arc/5.zip"),
           QStringLiteral("/arc/3.zip"), QStringLiteral("/arc/4.zip"), QStringLiteral("/arc/5.zip")};
    ASSERT_EQ(form->Blocks().size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(form->Blocks()[std::size_t(i)].GetStr(ArchiveName), archives[i]) << i;
    EXPECT_EQ(archive().EditArch->text(), QStringLiteral("/arc/5.zip"));
    EXPECT_TRUE(form->JobsModified());
}

TEST_F(EditorWindowTest, PasteLeavesNoIncompleteJobBehind)
{
    start({writeJobs(1)});
    form->ECopy->trigger();
    prompts->texts.push_back(QStringLiteral("Empty"));
    form->ENew->trigger();
    prompts->buttons.push_back(PromptButton::Ok);
    form->EPaste->trigger();
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->messages[0].text.contains(archive().GroupBoxArch->title()));
    EXPECT_EQ(jobNames(), (QStringList{QStringLiteral("Job 1"), QStringLiteral("Empty")}));
}

TEST_F(EditorWindowTest, DeletingTheLastAndTheOnlyJob)
{
    start({writeJobs(3)});
    form->ComboBoxName->setCurrentIndex(2);
    form->CBNameChange(true);
    prompts->buttons.push_back(PromptButton::Yes);
    form->EDel->trigger();
    ASSERT_FALSE(prompts->messages.empty());
    EXPECT_FALSE(prompts->messages.back().title.contains(u'&')) << "a title shows no mnemonic";
    EXPECT_EQ(jobNames(), (QStringList{QStringLiteral("Job 1"), QStringLiteral("Job 2")}));
    EXPECT_EQ(form->StatusText(), QStringLiteral("2 / 2"));
    EXPECT_EQ(archive().EditArch->text(), QStringLiteral("/arc/2.zip"));
    EXPECT_FALSE(form->TBNext->isEnabled());

    prompts->buttons.push_back(PromptButton::No);
    form->EDel->trigger();
    EXPECT_EQ(form->Blocks().size(), 2u);

    for (int i = 0; i < 2; ++i) {
        prompts->buttons.push_back(PromptButton::Yes);
        form->EDel->trigger();
    }
    EXPECT_EQ(form->StatusText(), QStringLiteral("0 / 0"));
    EXPECT_EQ(form->CurBlock(), -1);
    EXPECT_FALSE(form->ComboBoxName->isEnabled());
    EXPECT_FALSE(archive().EditArch->isEnabled());
    EXPECT_TRUE(archive().EditArch->text().isEmpty());

    // Nothing to save, check or show without jobs.
    form->FSave->trigger();
    form->ECopy->trigger();
    form->TBNext->trigger();
    EXPECT_TRUE(prompts->messages.size() == 4u);
}

TEST_F(EditorWindowTest, OkAfterDeletingEveryJobAsksBeforeEmptyingTheFile)
{
    setDefaultDat(path(QStringLiteral("other.dat")));
    const QString file = writeJobs(2);
    const QByteArray before = testfiles::readBytes(file);
    const auto deleteEveryJob = [this] {
        for (int i = 0; i < 2; ++i) {
            prompts->buttons.push_back(PromptButton::Yes);
            form->EDel->trigger();
        }
        ASSERT_TRUE(form->Blocks().empty());
    };
    start({file});
    deleteEveryJob();
    prompts->buttons.push_back(PromptButton::Cancel);
    form->ButtonOk->click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(prompts->messages.back().text.contains(file));
    EXPECT_EQ(prompts->messages.back().icon, platform::PromptIcon::Question);

    prompts->buttons.push_back(PromptButton::No);
    form->ButtonOk->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(testfiles::readBytes(file), before);

    start({file});
    deleteEveryJob();
    prompts->buttons.push_back(PromptButton::Yes);
    form->ButtonOk->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(testfiles::linesOfCp1251(testfiles::readBytes(file)).contains(QStringLiteral(">")));
}

TEST_F(EditorWindowTest, AnIncompleteJobCannotBeLeft)
{
    start({writeJobs(2)});
    prompts->texts.push_back(QStringLiteral("New"));
    form->ENew->trigger();
    EXPECT_EQ(form->StatusText(), QStringLiteral("3 / 3"));

    prompts->buttons.push_back(PromptButton::Ok);
    form->ComboBoxName->setCurrentIndex(0);
    form->CBNameChange(true);
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(prompts->messages[0].text, zentavo::sField1 + QStringLiteral("Archive filename") + zentavo::sField2);
    EXPECT_EQ(form->ComboBoxName->currentIndex(), 2);
    EXPECT_EQ(form->CurBlock(), 2);

    type(archive().EditArch, QStringLiteral("/arc/new.zip"));
    prompts->buttons.push_back(PromptButton::Ok);
    form->PrevBlock();
    ASSERT_EQ(prompts->messages.size(), 2u);
    EXPECT_TRUE(prompts->messages[1].text.contains(QStringLiteral("Filelist to archiving")));
    EXPECT_EQ(form->CurBlock(), 2);

    // Saving refuses too, and writes nothing.
    const QByteArray before = testfiles::readBytes(form->DatFileName());
    prompts->buttons.push_back(PromptButton::Ok);
    form->FSave->trigger();
    EXPECT_EQ(testfiles::readBytes(form->DatFileName()), before);

    addSource(QStringLiteral("/home/new"));
    form->PrevBlock();
    EXPECT_EQ(form->CurBlock(), 1);
    EXPECT_EQ(prompts->messages.size(), 3u);
}

TEST_F(EditorWindowTest, JobNamesThatReadAsSomethingElseAreRefused)
{
    start({writeJobs(1)});
    prompts->texts.push_back(QStringLiteral(">x"));
    prompts->buttons.push_back(PromptButton::Ok);
    form->ENew->trigger();
    EXPECT_EQ(form->Blocks().size(), 1u);

    prompts->texts.push_back(QStringLiteral("//x"));
    prompts->buttons.push_back(PromptButton::Ok);
    form->ERen->trigger();
    EXPECT_EQ(jobNames(), QStringList{QStringLiteral("Job 1")});
    EXPECT_FALSE(form->JobsModified());

    prompts->texts.push_back(QStringLiteral("Renamed"));
    form->ERen->trigger();
    EXPECT_EQ(jobNames(), QStringList{QStringLiteral("Renamed")});
    EXPECT_TRUE(form->JobsModified());
}

TEST_F(EditorWindowTest, CloseWithChangesAnsweredNoYesCancel)
{
    setDefaultDat(path(QStringLiteral("other.dat")));
    const QString file = writeJobs(1);
    const QByteArray before = testfiles::readBytes(file);

    struct Case {
        PromptButton answer;
        bool closed;
        bool written;
    };
    for (const Case c : {Case{PromptButton::Cancel, false, false}, Case{PromptButton::No, true, false},
                         Case{PromptButton::Yes, true, true}}) {
        testfiles::writeBytes(file, before);
        start({file});
        type(archive().EditZ, QStringLiteral("changed"));
        prompts->buttons.push_back(c.answer);
        EXPECT_EQ(closes(), c.closed);
        EXPECT_EQ(testfiles::readBytes(file) != before, c.written);
        EXPECT_EQ(prompts->messages.back().text, zentavo::sQuestionSave + u'\n' + file);
        if (!c.closed) {
            prompts->buttons.push_back(PromptButton::No);
            EXPECT_TRUE(closes());
        }
    }
    EXPECT_TRUE(testfiles::linesOfCp1251(testfiles::readBytes(file)).contains(QStringLiteral("C=changed")));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("Jobs.BAK"))));
}

TEST_F(EditorWindowTest, ClosingANewFileAsksForItsName)
{
    prompts->texts.push_back(QStringLiteral("Home"));
    start();
    type(archive().EditArch, QStringLiteral("/arc/home.zip"));
    addSource(QStringLiteral("/home/anna"));

    // Yes, then the save dialog cancelled: the window stays.
    prompts->buttons.push_back(PromptButton::Yes);
    prompts->texts.push_back(std::nullopt);
    EXPECT_FALSE(closes());
    EXPECT_FALSE(QFileInfo::exists(NoNameDat));

    const QString file = path(QStringLiteral("home.dat"));
    prompts->buttons.push_back(PromptButton::Yes);
    prompts->texts.push_back(file);
    prompts->buttons.push_back(PromptButton::No); // not the default file
    EXPECT_TRUE(closes());
    EXPECT_EQ(prompts->files.back().mode, platform::FileRequest::Mode::Save);
    EXPECT_EQ(prompts->files.back().folder, QDir::homePath()) << "a new file has no folder of its own";
    EXPECT_TRUE(testfiles::linesOfCp1251(testfiles::readBytes(file)).contains(QStringLiteral("D=/home/anna")));
}

TEST_F(EditorWindowTest, SaveAsOntoAnExistingFileAnsweredNoThenCancel)
{
    setDefaultDat(path(QStringLiteral("other.dat")));
    start({writeJobs(1)});
    const QString existing = writeJobs(2, QStringLiteral("Existing.dat"));
    const QByteArray before = testfiles::readBytes(existing);

    prompts->texts.push_back(existing);
    prompts->buttons.push_back(PromptButton::No);
    prompts->texts.push_back(existing);
    prompts->buttons.push_back(PromptButton::Cancel);
    form->FSaveAss->trigger();
    EXPECT_EQ(prompts->files.size(), 2u);
    ASSERT_EQ(prompts->messages.size(), 2u);
    EXPECT_EQ(prompts->messages[0].text,
              zentavo::sJobFile + u' ' + existing + u' ' + zentavo::sAlreadyExists + u'\n' + zentavo::sQuestionRewrite);
    EXPECT_EQ(testfiles::readBytes(existing), before);
    EXPECT_EQ(form->DatFileName(), path(QStringLiteral("Jobs.dat")));

    prompts->texts.push_back(existing);
    prompts->buttons.push_back(PromptButton::Yes);
    form->FSaveAss->trigger();
    EXPECT_EQ(form->windowTitle(), zentavo::sEditorHeader + QStringLiteral(" - Existing.dat"));
    EXPECT_EQ(testfiles::linesOfCp1251(testfiles::readBytes(existing)).count(QStringLiteral(">")), 1);
}

TEST_F(EditorWindowTest, ARefusedSaveIsToldAsARefusalAtItsPageAndLine)
{
    setDefaultDat(path(QStringLiteral("other.dat")));
    // A hand-made second comment line reads as a destination that cannot be written back.
    const QStringList lines{
        QStringLiteral("header"),     QStringLiteral(">"),           QStringLiteral("One"),
        QStringLiteral("/arc/1.zip"), QStringLiteral("D=/home/a"),   QStringLiteral("C="),
        QStringLiteral("E="),         QStringLiteral(">"),           QStringLiteral("Two"),
        QStringLiteral("/arc/2.zip"), QStringLiteral("D=/home/b"),   QStringLiteral("C=first"),
        QStringLiteral("E="),         QStringLiteral("/mnt/copy/="), QStringLiteral("C=second comment")};
    const QString file = path(QStringLiteral("Jobs.dat"));
    testfiles::writeBytes(file, testfiles::cp1251Lines(lines));
    const QByteArray before = testfiles::readBytes(file);
    start({file});
    type(archive().EditZ, QStringLiteral("changed"));

    prompts->buttons.push_back(PromptButton::Ok);
    form->ButtonOk->click();
    ASSERT_EQ(prompts->messages.size(), 1u);
    const platform::MessageRequest &told = prompts->messages[0];
    EXPECT_NE(told.title, zentavo::sEditorHeader);
    EXPECT_FALSE(told.text.contains(zentavo::sWriteError)) << told.text.toStdString();
    EXPECT_TRUE(told.text.contains(QStringLiteral("\"Two\""))) << told.text.toStdString();
    EXPECT_TRUE(told.text.contains(QStringLiteral("page \"Copies\", line 2"))) << told.text.toStdString();
    EXPECT_EQ(told.icon, platform::PromptIcon::Warning);
    EXPECT_EQ(form->CurBlock(), 1);
    EXPECT_EQ(form->Pages().currentWidget(), form->Pages().Copies);
    EXPECT_EQ(form->Pages().Copies->StringGridCopies->currentRow(), 1);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(testfiles::readBytes(file), before);
}

TEST_F(EditorWindowTest, AFailedSaveKeepsTheOldFileTheEditsAndTheWindow)
{
    setDefaultDat(path(QStringLiteral("other.dat")));
    const QString file = writeJobs(1);
    const QByteArray before = testfiles::readBytes(file);
    start({file});
    type(archive().EditArch, QStringLiteral("/arc/changed.zip"));
    // The old file cannot be kept as the backup: a folder is in the way.
    const QString backup = pelvo::backupFileName(file);
    ASSERT_TRUE(QDir().mkpath(backup));

    prompts->buttons.push_back(PromptButton::Ok);
    form->ButtonOk->click();
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->messages[0].text.startsWith(zentavo::sWriteError + u' ' + file));
    EXPECT_EQ(prompts->messages[0].icon, platform::PromptIcon::Error);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(testfiles::readBytes(file), before);
    EXPECT_EQ(form->Blocks()[0].GetStr(ArchiveName), QStringLiteral("/arc/changed.zip"));
    EXPECT_TRUE(form->JobsModified());

    // New asks to save, the save fails again: the jobs stay.
    prompts->buttons.push_back(PromptButton::Yes);
    prompts->buttons.push_back(PromptButton::Ok);
    form->FNew->trigger();
    EXPECT_EQ(form->Blocks().size(), 1u);
    EXPECT_EQ(form->DatFileName(), file);

    QDir(backup).removeRecursively();
    form->FSave->trigger();
    EXPECT_FALSE(form->JobsModified());
    EXPECT_TRUE(testfiles::linesOfCp1251(testfiles::readBytes(file)).contains(QStringLiteral("/arc/changed.zip")));
}

TEST_F(EditorWindowTest, NewFileWithUnsavedNewJobsAsksForAName)
{
    prompts->texts.push_back(QStringLiteral("Home"));
    start();
    type(archive().EditArch, QStringLiteral("/arc/home.zip"));
    addSource(QStringLiteral("/home/anna"));

    const QString file = path(QStringLiteral("first.dat"));
    prompts->buttons.push_back(PromptButton::Yes);
    prompts->texts.push_back(file);
    prompts->texts.push_back(std::nullopt); // the next file's first job is not named
    form->FNew->trigger();
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_FALSE(QFileInfo::exists(NoNameDat));
    EXPECT_EQ(form->StatusText(), QStringLiteral("0 / 0"));
    EXPECT_EQ(form->DatFileName(), NoNameDat);
}

TEST_F(EditorWindowTest, TheDefaultQuestionStoresTheFileAndTellsTheOtherPrograms)
{
    setDefaultDat(QString());
    platform::MessageWindow tray;
    platform::MessageWindow mainProgram;
    ASSERT_TRUE(tray.setCaption(zentavo::CaptionTrayVorrin));
    ASSERT_TRUE(mainProgram.setCaption(zentavo::CaptionZentavo));
    QList<std::pair<QString, quint64>> trayGot;
    QList<std::pair<QString, quint64>> mainGot;
    QObject::connect(&tray, &platform::MessageWindow::messageReceived, [&](const QString &name, quint64 wParam) {
        trayGot.append({name, wParam});
    });
    QObject::connect(&mainProgram, &platform::MessageWindow::messageReceived, [&](const QString &name, quint64 wParam) {
        mainGot.append({name, wParam});
    });

    QDir::setCurrent(dir.path());
    start({QStringLiteral("/") + QFileInfo(writeJobs(1)).absoluteFilePath()});
    prompts->buttons.push_back(PromptButton::Yes);
    EXPECT_TRUE(closes());
    EXPECT_EQ(prompts->messages.back().text, zentavo::sQuestionSetDef);
    EXPECT_TRUE(prompts->messages.back().help) << "the question offers its help topic";
    EXPECT_EQ(zentavo::ReadDefaultDat(), path(QStringLiteral("Jobs.dat")));
    ASSERT_TRUE(testapp::waitUntil([&] { return !trayGot.isEmpty() && !mainGot.isEmpty(); }));
    EXPECT_EQ(trayGot, (QList<std::pair<QString, quint64>>{{zentavo::MsgUpdateVorrin, 0}}));
    EXPECT_EQ(mainGot, (QList<std::pair<QString, quint64>>{{zentavo::MsgUpdateVorrin, 1}}));
}

TEST_F(EditorWindowTest, UseByDefaultOnAFreshInstallCreatesTheSettings)
{
    ASSERT_FALSE(QFileInfo::exists(path(QStringLiteral("config"))));
    const QString file = writeJobs(1);
    start({file});
    prompts->buttons.push_back(PromptButton::Yes);
    EXPECT_TRUE(closes());
    ASSERT_EQ(prompts->messages.size(), 1u) << messageTexts().join(u'|').toStdString();
    EXPECT_EQ(zentavo::ReadDefaultDat(), file);
}

TEST_F(EditorWindowTest, NoDefaultQuestionForANewFileOrAfterNo)
{
    setDefaultDat(QString());
    prompts->texts.push_back(std::nullopt);
    start();
    EXPECT_TRUE(closes()) << "an unsaved new file is never offered as the default";

    start({writeJobs(1)});
    type(archive().EditZ, QStringLiteral("x"));
    prompts->buttons.push_back(PromptButton::No);
    EXPECT_TRUE(closes());
    EXPECT_EQ(prompts->messages.back().text, zentavo::sQuestionSave + u'\n' + form->DatFileName());
    EXPECT_TRUE(zentavo::ReadDefaultDat().isEmpty());
}

TEST_F(EditorWindowTest, PageKeysWalkThroughTheJobs)
{
    start({writeJobs(3)});
    pressKey(form->ComboBoxName, Qt::Key_PageDown);
    pressKey(archive().EditZ, Qt::Key_PageDown);
    EXPECT_EQ(form->StatusText(), QStringLiteral("3 / 3"));
    EXPECT_FALSE(form->TBNext->isEnabled());
    pressKey(archive().StringGridArch, Qt::Key_PageUp);
    EXPECT_EQ(form->StatusText(), QStringLiteral("2 / 3"));
    EXPECT_EQ(archive().EditArch->text(), QStringLiteral("/arc/2.zip"));
    EXPECT_TRUE(form->TBPrev->isEnabled());
}

} // namespace

namespace {

TEST_F(EditorWindowTest, PrintShowsTheJobsAsTheyStandInTheWindow)
{
    start({writeJobs(2)});
    type(archive().EditArch, QStringLiteral("/arc/unsaved.zip"));
    const QString pdf = path(QStringLiteral("jobs.pdf"));
    form->JobPrinter().setOutputFormat(QPrinter::PdfFormat);
    form->JobPrinter().setOutputFileName(pdf);

    prompts->printAnswers.push_back(false);
    form->FPrint->trigger();
    EXPECT_FALSE(QFileInfo::exists(pdf));

    prompts->printAnswers.push_back(true);
    form->FPrint->trigger();
    const QString printed = testfiles::pdfText(pdf);
    EXPECT_TRUE(printed.contains(QStringLiteral("/arc/unsaved.zip"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("Job 2")));

    // Nothing to print without jobs.
    for (int i = 0; i < 2; ++i) {
        prompts->buttons.push_back(PromptButton::Yes);
        form->EDel->trigger();
    }
    EXPECT_FALSE(form->FPrint->isEnabled());
}

TEST_F(EditorWindowTest, AboutShowsBothProgramsVersions)
{
    start({writeJobs(1)});
    prompts->buttons.push_back(PromptButton::Ok);
    form->HAbout->trigger();
    ASSERT_EQ(prompts->messages.size(), 1u);
    // The lines themselves are the editor library's; here: the main program
    // beside the editor and the editor's own file are the ones read.
    EXPECT_EQ(prompts->messages[0].text,
              EditorAboutText(platform::VersionBlock::ofFile(platform::siblingProgram(QStringLiteral("Zentavo"))),
                              platform::VersionBlock::ofRunningProgram()));
    EXPECT_EQ(prompts->messages[0].title, QStringLiteral("About..."));
    EXPECT_EQ(prompts->messages[0].icon, platform::PromptIcon::Information);
}

} // namespace
