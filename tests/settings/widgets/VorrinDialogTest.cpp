#include "VorrinFormTest.h"

#include "TestFiles.h"
#include "platform/FileNames.h"
#include "platform/WindowMessages.h"
#include "settings/widgets/OpenSettings.h"
#include "settings/widgets/SetTime.h"
#include "shared/ConstStr.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace zentavo;
using platform::PromptButton;
using platform::PromptIcon;

namespace {

using VorrinDialogTest = VorrinFormTest;

QStringList entries(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

// A step of the time dialog that enters a time and presses Ok, or only
// checks what the dialog shows and cancels.
ScriptedDialogs::Step enterTime(int hour, int minute, const QString &shown = {})
{
    return [=](QDialog &dialog) {
        auto &time = static_cast<TFormSetTime &>(dialog);
        if (!shown.isEmpty()) {
            EXPECT_EQ(time.TimeText(), shown);
        }
        time.SpinEditHour->setValue(hour);
        time.SpinEditMin->setValue(minute);
        time.ButtonOk->click();
        return time.result();
    };
}

} // namespace

// The rules of the enabled states, each from the loaded defaults: what the
// user clicks, the controls whose state the rule sets, and whether the
// clicks count as a change.
TEST_F(VorrinDialogTest, EnableRules)
{
    using Form = TFormVorrin;
    struct Rule {
        const char *name;
        std::function<void(Form &)> clicks;
        std::function<std::vector<std::pair<QWidget *, bool>>(Form &)> enabled;
        bool countsAsChange = true;
    };
    const std::vector<Rule> rules = {
        {"pause enables the time limit", [](Form &f) { f.CheckBoxPause->click(); },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{{f.CheckBoxTime, true}, {f.EditTime, false}};
         }},
        {"menu disables pause; time enables its edit",
         [](Form &f) {
             f.CheckBoxMenu->click();
             f.CheckBoxTime->click();
         },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{
                 {f.CheckBoxPause, false}, {f.EditTime, true}, {f.LabelMinutes, true}};
         }},
        {"close enables print, send and power off, not the filters", [](Form &f) { f.CheckBoxAClose->click(); },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{{f.CheckBoxAPrint, true},
                                                            {f.CheckBoxASend, true},
                                                            {f.CheckBoxAPower, true},
                                                            {f.CheckBoxAOnlyErrors, false},
                                                            {f.CheckBoxASumRep, false}};
         }},
        {"send enables the filters",
         [](Form &f) {
             f.CheckBoxAClose->click();
             f.CheckBoxASend->click();
         },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{{f.CheckBoxAOnlyErrors, true}, {f.CheckBoxASumRep, true}};
         }},
        {"unchecking close disables all after-run options",
         [](Form &f) {
             f.CheckBoxAClose->click();
             f.CheckBoxAPrint->click();
             f.CheckBoxAClose->click();
         },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{{f.CheckBoxAPrint, false},
                                                            {f.CheckBoxASend, false},
                                                            {f.CheckBoxAOnlyErrors, false},
                                                            {f.CheckBoxASumRep, false},
                                                            {f.CheckBoxAPower, false}};
         }},
        {"report off disables its options",
         [](Form &f) {
             f.CheckBoxRepSize->click();
             f.CheckBoxRep->click();
         },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{{f.CheckBoxRepAdd, false},
                                                            {f.CheckBoxRepSize, false},
                                                            {f.ButtonRep, false},
                                                            {f.ButtonRepDir, false},
                                                            {f.EditRepSize, false}};
         }},
        {"report limit enables its size", [](Form &f) { f.CheckBoxRepSize->click(); },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{{f.EditRepSize, true}, {f.LabelRepKb, true}};
         }},
        {"journal off disables its options", [](Form &f) { f.CheckBoxRun->click(); },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{
                 {f.CheckBoxRunAdd, false}, {f.CheckBoxRunSize, false}, {f.ButtonRun, false}, {f.ButtonRunDir, false}};
         }},
        {"journal limit enables its size", [](Form &f) { f.CheckBoxRunSize->click(); },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{{f.EditRunSize, true}, {f.LabelRunKb, true}};
         }},
        {"update disables volumes and SFX", [](Form &f) { f.RadioButtonArcAdd->click(); },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{
                 {f.CheckBoxSFX, false}, {f.ComboBoxVol, false}, {f.LabelVol, false}};
         }},
        {"no path information disables the path choices",
         [](Form &f) {
             f.RadioButtonFPath->click();
             f.CheckBoxInfoPath->click();
         },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{
                 {f.RadioButtonRPath, false}, {f.RadioButtonFPath, false}, {f.CheckBoxWithDrive, false}};
         }},
        {"full path enables the drive letter", [](Form &f) { f.RadioButtonFPath->click(); },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{{f.CheckBoxWithDrive, true}};
         }},
        {"authentication enables its fields and is no change", [](Form &f) { f.CheckBoxAuth->click(); },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{
                 {f.EditUserName, true}, {f.EditPassword, true}, {f.LabelPassword, true}};
         },
         false},
        {"on startup disables the times and daily's box", [](Form &f) { f.RadioButtonRunPC->click(); },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{
                 {f.ListBoxTimes, false}, {f.BitBtnAdd, false}, {f.CheckBoxNotWeek, false}, {f.CheckBoxOnce, true}};
         }},
        {"weekly disables the boxes of daily and on startup", [](Form &f) { f.RadioButtonEWeek->click(); },
         [](Form &f) {
             return std::vector<std::pair<QWidget *, bool>>{
                 {f.BitBtnAdd, true}, {f.CheckBoxNotWeek, false}, {f.CheckBoxOnce, false}};
         }},
    };
    for (const Rule &rule : rules) {
        const auto form = newForm();
        rule.clicks(*form);
        for (const auto &[widget, enabled] : rule.enabled(*form))
            EXPECT_EQ(widget->isEnabled(), enabled) << rule.name << ": " << widget->objectName().toStdString();
        EXPECT_EQ(form->ButtonUse->isEnabled(), rule.countsAsChange) << rule.name;
    }

    // The day panels show with their modes.
    const auto form = newForm();
    form->RadioButtonEWeek->click();
    EXPECT_TRUE(!form->PanelWeekDays->isHidden() && form->PanelMonthDays->isHidden());
    form->RadioButtonEMonth->click();
    EXPECT_TRUE(form->PanelWeekDays->isHidden() && !form->PanelMonthDays->isHidden());
    // Update sets the volumes back to none.
    form->ComboBoxVol->setCurrentIndex(4);
    form->RadioButtonArcAdd->click();
    EXPECT_EQ(form->ComboBoxVol->currentIndex(), 0);
}

TEST_F(VorrinDialogTest, ApplyFollowsTheUsersChangesOnly)
{
    const auto form = newForm();
    // Changes made in code, as by the load, are not the user's.
    form->CheckBoxMin->setChecked(true);
    form->EditHost->setText(QStringLiteral("mail.example.org"));
    form->ComboBoxComp->setCurrentIndex(0);
    EXPECT_FALSE(form->ButtonUse->isEnabled());

    QTest::keyClicks(form->EditSubject, QStringLiteral("Nightly"));
    EXPECT_TRUE(form->ButtonUse->isEnabled());
    form->ButtonUse->click();
    EXPECT_FALSE(form->ButtonUse->isEnabled());
    EXPECT_EQ(newForm()->EditSubject->text(), QStringLiteral("Nightly"));

    form->BitBtn[14]->click();
    EXPECT_TRUE(form->ButtonUse->isEnabled());
    form->ButtonUse->click();

    // A typed volume size is the combo's text, never one more item.
    QTest::keyClicks(form->ComboBoxVol->lineEdit(), QStringLiteral("1440"));
    QTest::keyClick(form->ComboBoxVol->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(form->ButtonUse->isEnabled());
    EXPECT_EQ(form->ComboBoxVol->count(), VolumeItems);
}

TEST_F(VorrinDialogTest, CancelDropsTheEditsAndOkSavesOnlyValidInput)
{
    const auto form = newForm();
    bool finished = false;
    QObject::connect(form.get(), &QDialog::finished, [&finished] { finished = true; });

    m_dialogs.expect(QStringLiteral("FormVorrin"), [](QDialog &dialog) {
        auto &f = static_cast<TFormVorrin &>(dialog);
        f.CheckBoxRun->click();
        f.RadioButtonEMonth->click();
        f.BitBtn[0]->click();
        QTest::keyClicks(f.EditFrom, QStringLiteral("x"));
        f.ButtonCancel->click();
        return f.result();
    });
    EXPECT_TRUE(OpenSettingsDialog(*form, SettingsProgram::Zentavo));
    EXPECT_TRUE(finished);
    // Reopened: what is stored, not what was edited.
    EXPECT_TRUE(form->CheckBoxRun->isChecked());
    EXPECT_TRUE(form->RadioButtonEDay->isChecked());
    EXPECT_FALSE(form->BitBtn[0]->isChecked());
    EXPECT_EQ(form->EditFrom->text(), newForm()->EditFrom->text());
    EXPECT_FALSE(form->ButtonUse->isEnabled());

    // Ok with a faulty field: the message, and the dialog stays open.
    finished = false;
    m_prompter->buttons = {PromptButton::Ok};
    form->CheckBoxRunSize->click();
    form->EditRunSize->setText(QStringLiteral("big"));
    form->ButtonOk->click();
    EXPECT_FALSE(finished);
    ASSERT_EQ(m_prompter->messages.size(), 1u);
    EXPECT_EQ(m_prompter->messages[0].title, sSizeJournal);
    EXPECT_EQ(form->PageControl->currentIndex(), 4);

    form->EditRunSize->setText(QStringLiteral("64"));
    form->ButtonOk->click();
    EXPECT_TRUE(finished);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->Settings().Copies.EditRunSizeTag, 64);
    EXPECT_TRUE(form->CheckBoxRunSize->isChecked());
}

TEST_F(VorrinDialogTest, TabTurnsThePagesEnterIsOkEscIsCancel)
{
    const auto form = newForm();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->EditTemp->setFocus();
    form->PageControl->setCurrentIndex(0);
    for (int page : {1, 2, 3, 4, 0}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(form->PageControl->currentIndex(), page);
        EXPECT_TRUE(form->PageControl->currentWidget()->isAncestorOf(QApplication::focusWidget()));
    }

    QTest::keyClick(form->ComboBoxVol->lineEdit(), Qt::Key_Escape);
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_FALSE(form->isVisible());

    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->PageControl->setCurrentIndex(3);
    QTest::keyClicks(form->EditSubject, QStringLiteral("Weekly"));
    QTest::keyClick(form->EditSubject, Qt::Key_Return);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(newForm()->EditSubject->text(), QStringLiteral("Weekly"));
}

TEST_F(VorrinDialogTest, StartTimes)
{
    const auto form = newForm();
    m_dialogs.expect(QStringLiteral("FormSetTime"), enterTime(6, 0, QStringLiteral("00:00")));
    m_dialogs.expect(QStringLiteral("FormSetTime"), enterTime(22, 0));
    m_dialogs.expect(QStringLiteral("FormSetTime"), enterTime(7, 5));
    m_dialogs.expect(QStringLiteral("FormSetTime"), enterTime(22, 0));
    for (int add = 0; add < 4; ++add)
        form->BitBtnAdd->click();
    EXPECT_EQ(entries(form->ListBoxTimes),
              QStringList({QStringLiteral("06:00"), QStringLiteral("07:05"), QStringLiteral("22:00"),
                           QStringLiteral("22:00")}));
    EXPECT_FALSE(form->BitBtnEdit->isEnabled() || form->BitBtnDel->isEnabled());

    // Edited in place, even out of order; a cancelled dialog changes nothing.
    form->ListBoxTimes->setCurrentRow(1);
    EXPECT_TRUE(form->BitBtnEdit->isEnabled() && form->BitBtnDel->isEnabled());
    m_dialogs.expect(QStringLiteral("FormSetTime"), enterTime(23, 59, QStringLiteral("07:05")));
    form->BitBtnEdit->click();
    m_dialogs.expect(QStringLiteral("FormSetTime"), [](QDialog &dialog) {
        static_cast<TFormSetTime &>(dialog).ButtonCancel->click();
        return dialog.result();
    });
    form->BitBtnEdit->click();
    EXPECT_EQ(entries(form->ListBoxTimes),
              QStringList({QStringLiteral("06:00"), QStringLiteral("23:59"), QStringLiteral("22:00"),
                           QStringLiteral("22:00")}));

    // Deleting the last entry selects the new last one; the list emptied,
    // Edit and Delete are off.
    form->ListBoxTimes->setCurrentRow(3);
    form->BitBtnDel->click();
    EXPECT_EQ(form->ListBoxTimes->currentRow(), 2);
    form->ListBoxTimes->setCurrentRow(0);
    form->BitBtnDel->click();
    EXPECT_EQ(form->ListBoxTimes->selectedItems().value(0)->text(), QStringLiteral("23:59"));
    form->BitBtnDel->click();
    form->BitBtnDel->click();
    EXPECT_EQ(form->ListBoxTimes->count(), 0);
    EXPECT_FALSE(form->BitBtnEdit->isEnabled() || form->BitBtnDel->isEnabled());
    EXPECT_TRUE(form->ButtonUse->isEnabled());
    EXPECT_TRUE(m_dialogs.allPlayed());
}

TEST_F(VorrinDialogTest, TimeDialogOkOnlyForATime)
{
    TFormSetTime dialog;
    dialog.SetTime(7, 5);
    EXPECT_EQ(dialog.TimeText(), QStringLiteral("07:05"));
    EXPECT_TRUE(dialog.ButtonOk->isEnabled());
    dialog.SpinEditHour->selectAll();
    QTest::keyClick(dialog.SpinEditHour, Qt::Key_Backspace);
    EXPECT_FALSE(dialog.ButtonOk->isEnabled());
    QTest::keyClicks(dialog.SpinEditHour, QStringLiteral("9"));
    EXPECT_TRUE(dialog.ButtonOk->isEnabled());
    EXPECT_EQ(dialog.TimeText(), QStringLiteral("09:05"));
}

TEST_F(VorrinDialogTest, PickersSetTheirFieldsUnlessCancelled)
{
    const auto form = newForm();
    const QString folder = m_dir.path();
    m_prompter->texts
        = {std::nullopt, folder + QStringLiteral("/daily.dat"), folder, std::nullopt, folder + QStringLiteral("/tmp")};
    form->ButtonBrowse->click();
    EXPECT_TRUE(form->EditFJob->text().isEmpty());
    EXPECT_FALSE(form->ButtonUse->isEnabled());
    form->ButtonBrowse->click();
    EXPECT_EQ(form->EditFJob->text(), folder + QStringLiteral("/daily.dat"));
    EXPECT_TRUE(m_prompter->files.at(0).filter.contains(QStringLiteral("*.dat")));

    form->ButtonRunDir->click();
    EXPECT_EQ(form->Settings().Copies.ButtonRunDirHint, folder + u'/');
    EXPECT_EQ(form->ButtonRunDir->toolTip(), folder + u'/');
    EXPECT_EQ(m_prompter->folders.at(0).title, sReport + u'\n' + form->ButtonRunDir->text());
    form->ButtonTemp->click();
    EXPECT_EQ(form->EditTemp->text(), QStringLiteral("/var/tmp/"));
    form->ButtonTemp->click();
    EXPECT_EQ(form->EditTemp->text(), folder + QStringLiteral("/tmp/"));
    EXPECT_EQ(m_prompter->folders.at(2).start, QStringLiteral("/var/tmp/"));

    form->ButtonOk->click();
    const auto reopened = newForm();
    EXPECT_EQ(reopened->EditFJob->text(), folder + QStringLiteral("/daily.dat"));
    EXPECT_EQ(reopened->Settings().Copies.ButtonRunDirHint, folder + u'/');
}

// A report folder on an old disk, named in code page 1251, chosen in the
// dialog: Ok stores its bytes as they are, and it comes back as that folder.
TEST_F(VorrinDialogTest, AFolderChosenWithANameInAnotherCodePageIsStoredAsItsBytes)
{
    const QByteArray bytes = QFile::encodeName(m_dir.path()) + "/\xCE\xF2\xF7\xE5\xF2\xFB"; // "Отчеты"
    ASSERT_EQ(::mkdir(bytes.constData(), 0700), 0);
    const QString folder = platform::fileNameFromBytes(bytes);
    const auto form = newForm();
    m_prompter->texts = {folder, std::nullopt};
    form->ButtonRepDir->click();
    EXPECT_EQ(form->ButtonRepDir->toolTip(), m_dir.path() + QStringLiteral("/\\xCE\\xF2\\xF7\\xE5\\xF2\\xFB/"));
    form->ButtonRepDir->click();
    EXPECT_EQ(m_prompter->folders.at(1).start, folder + u'/') << "the next pick starts there";
    form->ButtonOk->click();

    EXPECT_TRUE(testfiles::readBytes(platform::registryFileName()).contains("ReportDir=s:" + bytes + "/\n"));
    const auto reopened = newForm();
    EXPECT_EQ(platform::fileNameBytes(reopened->Settings().Copies.ButtonRepDirHint), bytes + '/');
    ::rmdir(bytes.constData()); // Qt cannot see such a name to remove it
}

TEST_F(VorrinDialogTest, ViewersShowTheReportAndTheJournal)
{
    const auto form = newForm();
    testfiles::writeBytes(m_dir.filePath(QStringLiteral("Report.txt")), "first\r\nsecond\r\n");
    m_dialogs.expect(QStringLiteral("FormRep"), [](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), sReport);
        EXPECT_EQ(dialog.findChild<QListWidget *>(QStringLiteral("ListBoxRep"))->count(), 2);
        EXPECT_TRUE(dialog.findChild<QAction *>(QStringLiteral("TBClear"))->isEnabled());
        EXPECT_FALSE(dialog.findChild<QAction *>(QStringLiteral("TBSearchA"))->isEnabled());
        return int(QDialog::Rejected);
    });
    form->ButtonRep->click();

    testfiles::writeBytes(m_dir.filePath(QStringLiteral("Vorrin.rep")), "");
    m_dialogs.expect(QStringLiteral("FormRep"), [](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), sJournal);
        EXPECT_FALSE(dialog.findChild<QAction *>(QStringLiteral("TBPrint"))->isEnabled());
        return int(QDialog::Rejected);
    });
    form->ButtonRun->click();
    EXPECT_TRUE(m_dialogs.allPlayed());

    // A file that cannot be read: a message naming it, no viewer.
    QFile::remove(m_dir.filePath(QStringLiteral("Report.txt")));
    m_prompter->buttons = {PromptButton::Ok};
    form->ButtonRep->click();
    ASSERT_EQ(m_prompter->messages.size(), 1u);
    EXPECT_TRUE(m_prompter->messages[0].text.contains(QStringLiteral("Report.txt")));
    EXPECT_EQ(m_dialogs.shown().size(), 2u);
}

TEST_F(VorrinDialogTest, OneSettingsDialogAcrossTheSuite)
{
    const auto form = newForm();
    m_dialogs.expect(QStringLiteral("FormVorrin"), [](QDialog &dialog) {
        // The title the other program looks for is shown while the dialog is.
        EXPECT_EQ(dialog.windowTitle(), sVorrinHeader);
        EXPECT_TRUE(platform::findWindow(sVorrinHeader));
        EXPECT_EQ(QApplication::applicationDisplayName(), sVorrinHeader);
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(OpenSettingsDialog(*form, SettingsProgram::Vorrin));
    EXPECT_FALSE(platform::findWindow(sVorrinHeader));

    platform::MessageWindow schedulersDialog;
    ASSERT_TRUE(schedulersDialog.setCaption(sVorrinHeader));
    m_prompter->buttons = {PromptButton::Ok};
    EXPECT_FALSE(OpenSettingsDialog(*form, SettingsProgram::Zentavo));
    ASSERT_EQ(m_prompter->messages.size(), 1u);
    EXPECT_EQ(m_prompter->messages[0].text,
              sCloseVorrin + QStringLiteral(" \"") + sVorrinHeader + QStringLiteral("\"!"));
    EXPECT_EQ(m_dialogs.shown().size(), 1u);
}
