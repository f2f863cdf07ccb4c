#include "VorrinFormTest.h"

#include "TestFiles.h"
#include "platform/Prompter.h"
#include "platform/RegistryKey.h"
#include "shared/ConstStr.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace zentavo;

using VorrinUnitTest = VorrinFormTest;

TEST_F(VorrinUnitTest, FreshFormShowsDefaultsWithTheirEnabledStates)
{
    const auto form = newForm();
    for (const char *name : {"PageControl",
                             "TabSheetVorrin",
                             "TabSheetOptions",
                             "TabSheetArchive",
                             "TabSheetMail",
                             "TabSheetReport",
                             "RadioButtonRunPC",
                             "CheckBoxOnce",
                             "RadioButtonEDay",
                             "CheckBoxNotWeek",
                             "RadioButtonEWeek",
                             "RadioButtonEMonth",
                             "CheckBoxMin",
                             "PanelWeekDays",
                             "DayOfWeek0",
                             "DayOfWeek6",
                             "PanelMonthDays",
                             "BitBtn1",
                             "BitBtn31",
                             "ListBoxTimes",
                             "BitBtnAdd",
                             "BitBtnEdit",
                             "BitBtnDel",
                             "ComboBoxPrior",
                             "EditFJob",
                             "GroupBoxDays",
                             "CheckBoxDay0",
                             "CheckBoxDay6",
                             "CheckBoxPause",
                             "CheckBoxMenu",
                             "CheckBoxTime",
                             "EditTime",
                             "CheckBoxAClose",
                             "CheckBoxAPrint",
                             "CheckBoxASend",
                             "CheckBoxAOnlyErrors",
                             "CheckBoxASumRep",
                             "CheckBoxAPower",
                             "RadioButtonArcNew",
                             "RadioButtonArcAdd",
                             "ComboBoxComp",
                             "CheckBoxRecurse",
                             "CheckBoxSFX",
                             "CheckBoxDelBad",
                             "CheckBoxInfoPath",
                             "RadioButtonRPath",
                             "RadioButtonFPath",
                             "CheckBoxWithDrive",
                             "RadioButtonOEM",
                             "RadioButtonWin",
                             "ComboBoxVol",
                             "EditTemp",
                             "CheckBoxEmptyFolders",
                             "EditEMail",
                             "EditHost",
                             "EditPort",
                             "CheckBoxHelo",
                             "EditSubject",
                             "EditFrom",
                             "EditUserName",
                             "EditPassword",
                             "CheckBoxAuth",
                             "GroupBoxRep",
                             "CheckBoxRep",
                             "CheckBoxRepAdd",
                             "CheckBoxRepSize",
                             "EditRepSize",
                             "ButtonRep",
                             "ButtonRepDir",
                             "GroupBoxRun",
                             "CheckBoxRun",
                             "CheckBoxRunAdd",
                             "CheckBoxRunSize",
                             "EditRunSize",
                             "ButtonRun",
                             "ButtonRunDir",
                             "LabelAbout",
                             "ButtonUse"})
        EXPECT_TRUE(form->findChild<QWidget *>(QLatin1String(name))) << name;
    EXPECT_EQ(form->objectName(), QStringLiteral("FormVorrin"));

    EXPECT_TRUE(form->CheckBoxRep->isChecked());
    EXPECT_TRUE(form->CheckBoxDay[0]->isChecked());
    EXPECT_FALSE(form->CheckBoxDay[1]->isChecked());
    EXPECT_EQ(form->ComboBoxComp->currentText(), QStringLiteral("Normal"));
    EXPECT_EQ(form->ComboBoxPrior->currentText(), QStringLiteral("Normal"));
    EXPECT_EQ(form->ComboBoxVol->currentText(), QStringLiteral("None"));
    EXPECT_EQ(form->ListBoxTimes->count(), 0);
    EXPECT_TRUE(form->RadioButtonEDay->isChecked());
    EXPECT_TRUE(form->RadioButtonOEM->isChecked());
    EXPECT_TRUE(form->CheckBoxHelo->isChecked());
    EXPECT_EQ(form->EditTemp->text(), QStringLiteral("/var/tmp/"));
    EXPECT_EQ(form->ButtonRepDir->toolTip(), m_context.defaultFolder);

    // The rules that a click would apply hold after the load too.
    EXPECT_FALSE(form->CheckBoxAPrint->isEnabled());
    EXPECT_FALSE(form->CheckBoxTime->isEnabled());
    EXPECT_FALSE(form->EditRepSize->isEnabled());
    EXPECT_TRUE(form->CheckBoxRepSize->isEnabled());
    EXPECT_TRUE(form->RadioButtonRPath->isEnabled());
    EXPECT_FALSE(form->CheckBoxWithDrive->isEnabled());
    EXPECT_FALSE(form->EditUserName->isEnabled());
    EXPECT_TRUE(form->CheckBoxNotWeek->isEnabled());
    EXPECT_FALSE(form->CheckBoxOnce->isEnabled());
    EXPECT_TRUE(form->PanelWeekDays->isHidden());
    EXPECT_TRUE(form->PanelMonthDays->isHidden());
    EXPECT_FALSE(form->ButtonUse->isEnabled());

    // Shared captions.
    EXPECT_EQ(form->PageControl->tabText(1), QStringLiteral("The Zentavo"));
    EXPECT_EQ(form->CheckBoxTime->text(), form->LabelTimes->text());
    EXPECT_EQ(form->CheckBoxDay[3]->text(), form->DayOfWeek[3]->text());
    EXPECT_EQ(form->GroupBoxRep->title(), QStringLiteral("Report"));
    EXPECT_EQ(form->ButtonRunDir->text(), QStringLiteral("Location"));
}

TEST_F(VorrinUnitTest, SavedControlsComeBackInANewForm)
{
    {
        const auto form = newForm();
        form->CheckBoxAClose->setChecked(true);
        form->CheckBoxASend->setChecked(true);
        form->CheckBoxAOnlyErrors->setChecked(true);
        form->CheckBoxMenu->setChecked(true);
        form->CheckBoxTime->setChecked(true);
        form->EditTime->setText(QStringLiteral("10"));
        form->RadioButtonEWeek->setChecked(true);
        form->DayOfWeek[2]->setChecked(true);
        form->ListBoxTimes->addItems({QStringLiteral("07:05"), QStringLiteral("23:59")});
        form->ComboBoxVol->setEditText(QStringLiteral("123456"));
        form->RadioButtonFPath->setChecked(true);
        form->CheckBoxWithDrive->setChecked(true);
        form->CheckBoxAuth->setChecked(true);
        form->EditPassword->setText(QStringLiteral("secret"));
        form->CheckBoxRunSize->setChecked(true);
        form->EditRunSize->setText(QStringLiteral("20"));
        ASSERT_TRUE(form->SaveSettings());
        EXPECT_TRUE(m_prompter->messages.empty());
        EXPECT_EQ(form->Settings().Copies.DayOfWeek1Tag, 4);
        EXPECT_EQ(form->Settings().Copies.EditRunSizeTag, 20);
        EXPECT_EQ(form->Settings().Copies.ScheduleTimes,
                  QStringList({QStringLiteral("07:05"), QStringLiteral("23:59")}));
    }
    const auto form = newForm();
    EXPECT_TRUE(form->CheckBoxAClose->isChecked() && form->CheckBoxASend->isChecked()
                && form->CheckBoxAOnlyErrors->isChecked());
    EXPECT_EQ(form->EditTime->text(), QStringLiteral("10"));
    EXPECT_TRUE(form->RadioButtonEWeek->isChecked());
    EXPECT_TRUE(form->DayOfWeek[2]->isChecked());
    EXPECT_EQ(form->ListBoxTimes->count(), 2);
    EXPECT_EQ(form->ComboBoxVol->currentIndex(), -1);
    EXPECT_EQ(form->ComboBoxVol->currentText(), QStringLiteral("123456"));
    EXPECT_TRUE(form->RadioButtonFPath->isChecked());
    EXPECT_EQ(form->EditPassword->text(), QStringLiteral("secret"));
    // Enabled states follow what was loaded.
    EXPECT_TRUE(form->CheckBoxAOnlyErrors->isEnabled());
    EXPECT_FALSE(form->CheckBoxPause->isEnabled());
    EXPECT_TRUE(form->EditTime->isEnabled());
    EXPECT_FALSE(form->PanelWeekDays->isHidden());
    EXPECT_TRUE(form->PanelMonthDays->isHidden());
    EXPECT_FALSE(form->CheckBoxNotWeek->isEnabled());
    EXPECT_TRUE(form->CheckBoxWithDrive->isEnabled());
    EXPECT_TRUE(form->EditUserName->isEnabled());
    EXPECT_TRUE(form->EditRunSize->isEnabled());
}

TEST_F(VorrinUnitTest, ReloadDropsUnsavedEdits)
{
    const auto form = newForm();
    const TVorrinCopies loaded = form->Settings().Copies;
    form->CheckBoxRun->setChecked(false);
    form->CheckBoxDay[6]->setChecked(true);
    form->RadioButtonEMonth->setChecked(true);
    form->BitBtn[4]->setChecked(true);
    EXPECT_EQ(form->Settings().Copies, loaded);
    form->FormCreate();
    EXPECT_TRUE(form->CheckBoxRun->isChecked());
    EXPECT_FALSE(form->CheckBoxDay[6]->isChecked());
    EXPECT_FALSE(form->BitBtn[4]->isChecked());
    EXPECT_EQ(form->Settings().Copies, loaded);
}

TEST_F(VorrinUnitTest, EditsACopyAndHandsTheSavedOneBack)
{
    VorrinSettings held = LoadVorrinSettings(m_context);
    held.Controls.EditHost = QStringLiteral("mail.example.org");
    TFormVorrin form(held, nullptr, m_context);
    EXPECT_EQ(form.EditHost->text(), held.Controls.EditHost);
    std::vector<VorrinSettings> handed;
    QObject::connect(&form, &TFormVorrin::settingsSaved, [&](const VorrinSettings &saved) { handed.push_back(saved); });

    m_prompter->buttons = {platform::PromptButton::Ok};
    form.RadioButtonEWeek->setChecked(true);
    EXPECT_FALSE(form.SaveSettings()) << "a week without a day";
    EXPECT_TRUE(handed.empty());

    form.DayOfWeek[6]->setChecked(true);
    form.CheckBoxDay[6]->setChecked(true);
    ASSERT_TRUE(form.SaveSettings());
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0].Controls.EditHost, held.Controls.EditHost);
    EXPECT_EQ(handed[0].Copies.DayOfWeek1Tag, 0x40);
    EXPECT_EQ(handed[0].Copies.CheckBoxDay1Tag, 0x41);
    EXPECT_EQ(handed[0], LoadVorrinSettings(m_context)) << "what is handed back is what the store holds";
    EXPECT_EQ(form.Settings(), handed[0]);
}

TEST_F(VorrinUnitTest, RefusedInputWritesNothing)
{
    const auto form = newForm();
    const QByteArray before = testfiles::readBytes(platform::registryFileName());
    m_prompter->buttons = {platform::PromptButton::Ok, platform::PromptButton::Ok};
    form->CheckBoxRepSize->click();
    form->EditRepSize->setText(QStringLiteral("big"));
    EXPECT_FALSE(form->SaveSettings());
    ASSERT_EQ(m_prompter->messages.size(), 1u);
    EXPECT_EQ(m_prompter->messages.at(0).text, sEnterInt);
    EXPECT_EQ(m_prompter->messages.at(0).title, sSizeReport);
    EXPECT_EQ(form->PageControl->currentIndex(), 4);

    form->EditRepSize->setText(QStringLiteral("5"));
    form->RadioButtonEMonth->setChecked(true);
    EXPECT_FALSE(form->SaveSettings());
    ASSERT_EQ(m_prompter->messages.size(), 2u);
    EXPECT_EQ(m_prompter->messages.at(1).text, QStringLiteral("Field  <Monthly>  cann't be empty!"));
    EXPECT_EQ(form->PageControl->currentIndex(), 0);
    EXPECT_EQ(testfiles::readBytes(platform::registryFileName()), before);
}

TEST_F(VorrinUnitTest, ClicksApplyTheRules)
{
    const auto form = newForm();
    form->ComboBoxVol->setCurrentIndex(3);
    form->RadioButtonArcAdd->click();
    EXPECT_EQ(form->ComboBoxVol->currentIndex(), 0);
    EXPECT_FALSE(form->ComboBoxVol->isEnabled());
    EXPECT_FALSE(form->CheckBoxSFX->isEnabled());
    form->RadioButtonArcNew->click();
    EXPECT_TRUE(form->ComboBoxVol->isEnabled());

    form->CheckBoxAClose->click();
    EXPECT_TRUE(form->CheckBoxAPrint->isEnabled());
    EXPECT_FALSE(form->CheckBoxASumRep->isEnabled());
    form->CheckBoxAPrint->click();
    EXPECT_TRUE(form->CheckBoxASumRep->isEnabled());
    form->CheckBoxAClose->click();
    EXPECT_FALSE(form->CheckBoxAPrint->isEnabled() || form->CheckBoxASumRep->isEnabled());

    form->RadioButtonRunPC->click();
    EXPECT_FALSE(form->ListBoxTimes->isEnabled() || form->BitBtnAdd->isEnabled());
    EXPECT_TRUE(form->CheckBoxOnce->isEnabled());
}
