// The settings in the dialog's controls: read back, shown, and the rules
// that enable the controls that apply.
#include "settings/widgets/VorrinUnit.h"

#include "platform/FileNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace zentavo {

TVorrinControls TFormVorrin::controls() const
{
    TVorrinControls c;
    c.EditFJob = EditFJob->text();
    c.ComboBoxPrior = ComboBoxPrior->currentIndex();
    for (int day = 0; day < 7; ++day) {
        c.CheckBoxDay[day] = CheckBoxDay[day]->isChecked();
        c.DayOfWeek[day] = DayOfWeek[day]->isChecked();
    }
    c.CheckBoxPause = CheckBoxPause->isChecked();
    c.CheckBoxMenu = CheckBoxMenu->isChecked();
    c.CheckBoxTime = CheckBoxTime->isChecked();
    c.EditTime = EditTime->text();
    c.CheckBoxAClose = CheckBoxAClose->isChecked();
    c.CheckBoxAPrint = CheckBoxAPrint->isChecked();
    c.CheckBoxASend = CheckBoxASend->isChecked();
    c.CheckBoxAOnlyErrors = CheckBoxAOnlyErrors->isChecked();
    c.CheckBoxASumRep = CheckBoxASumRep->isChecked();
    c.CheckBoxAPower = CheckBoxAPower->isChecked();

    c.RadioButtonArcAdd = RadioButtonArcAdd->isChecked();
    c.ComboBoxComp = ComboBoxComp->currentIndex();
    c.CheckBoxRecurse = CheckBoxRecurse->isChecked();
    c.CheckBoxSFX = CheckBoxSFX->isChecked();
    c.CheckBoxDelBad = CheckBoxDelBad->isChecked();
    c.CheckBoxInfoPath = CheckBoxInfoPath->isChecked();
    c.RadioButtonFPath = RadioButtonFPath->isChecked();
    c.CheckBoxWithDrive = CheckBoxWithDrive->isChecked();
    c.RadioButtonOEM = RadioButtonOEM->isChecked();
    // A typed text that names no item is a size of the user's own; an
    // emptied text means no volumes.
    const QString volume = ComboBoxVol->currentText();
    c.ComboBoxVolIndex = volume.isEmpty() ? 0
        : ComboBoxVol->currentIndex() >= 0 && ComboBoxVol->itemText(ComboBoxVol->currentIndex()) == volume
        ? ComboBoxVol->currentIndex()
        : ComboBoxVol->findText(volume, Qt::MatchExactly | Qt::MatchCaseSensitive);
    c.ComboBoxVolText = c.ComboBoxVolIndex == -1 ? volume : QString();
    c.EditTemp = EditTemp->text();
    c.CheckBoxEmptyFolders = CheckBoxEmptyFolders->isChecked();

    c.EditEMail = EditEMail->text();
    c.EditHost = EditHost->text();
    c.EditPort = EditPort->text();
    c.CheckBoxHelo = CheckBoxHelo->isChecked();
    c.EditSubject = EditSubject->text();
    c.EditFrom = EditFrom->text();
    c.EditUserName = EditUserName->text();
    c.EditPassword = EditPassword->text();
    c.CheckBoxAuth = CheckBoxAuth->isChecked();

    c.CheckBoxRep = CheckBoxRep->isChecked();
    c.CheckBoxRepAdd = CheckBoxRepAdd->isChecked();
    c.CheckBoxRepSize = CheckBoxRepSize->isChecked();
    c.EditRepSize = EditRepSize->text();
    c.CheckBoxRun = CheckBoxRun->isChecked();
    c.CheckBoxRunAdd = CheckBoxRunAdd->isChecked();
    c.CheckBoxRunSize = CheckBoxRunSize->isChecked();
    c.EditRunSize = EditRunSize->text();

    c.Mode = RadioButtonRunPC->isChecked() ? ScheduleMode::OnStartup
        : RadioButtonEWeek->isChecked()    ? ScheduleMode::Weekly
        : RadioButtonEMonth->isChecked()   ? ScheduleMode::Monthly
                                           : ScheduleMode::Daily;
    c.CheckBoxOnce = CheckBoxOnce->isChecked();
    c.CheckBoxNotWeek = CheckBoxNotWeek->isChecked();
    c.CheckBoxMin = CheckBoxMin->isChecked();
    for (int day = 0; day < 31; ++day)
        c.BitBtnDay[day] = BitBtn[day]->isChecked();
    c.ListBoxTimes.clear();
    for (int row = 0; row < ListBoxTimes->count(); ++row)
        c.ListBoxTimes.append(ListBoxTimes->item(row)->text());
    return c;
}

void TFormVorrin::showControls(const TVorrinControls &c)
{
    EditFJob->setText(c.EditFJob);
    ComboBoxPrior->setCurrentIndex(c.ComboBoxPrior);
    for (int day = 0; day < 7; ++day) {
        CheckBoxDay[day]->setChecked(c.CheckBoxDay[day]);
        DayOfWeek[day]->setChecked(c.DayOfWeek[day]);
    }
    CheckBoxPause->setChecked(c.CheckBoxPause);
    CheckBoxMenu->setChecked(c.CheckBoxMenu);
    CheckBoxTime->setChecked(c.CheckBoxTime);
    EditTime->setText(c.EditTime);
    CheckBoxAClose->setChecked(c.CheckBoxAClose);
    CheckBoxAPrint->setChecked(c.CheckBoxAPrint);
    CheckBoxASend->setChecked(c.CheckBoxASend);
    CheckBoxAOnlyErrors->setChecked(c.CheckBoxAOnlyErrors);
    CheckBoxASumRep->setChecked(c.CheckBoxASumRep);
    CheckBoxAPower->setChecked(c.CheckBoxAPower);

    (c.RadioButtonArcAdd ? RadioButtonArcAdd : RadioButtonArcNew)->setChecked(true);
    ComboBoxComp->setCurrentIndex(c.ComboBoxComp);
    CheckBoxRecurse->setChecked(c.CheckBoxRecurse);
    CheckBoxSFX->setChecked(c.CheckBoxSFX);
    CheckBoxDelBad->setChecked(c.CheckBoxDelBad);
    CheckBoxInfoPath->setChecked(c.CheckBoxInfoPath);
    (c.RadioButtonFPath ? RadioButtonFPath : RadioButtonRPath)->setChecked(true);
    CheckBoxWithDrive->setChecked(c.CheckBoxWithDrive);
    (c.RadioButtonOEM ? RadioButtonOEM : RadioButtonWin)->setChecked(true);
    ComboBoxVol->setCurrentIndex(c.ComboBoxVolIndex);
    if (c.ComboBoxVolIndex == -1)
        ComboBoxVol->setEditText(c.ComboBoxVolText);
    EditTemp->setText(c.EditTemp);
    CheckBoxEmptyFolders->setChecked(c.CheckBoxEmptyFolders);

    EditEMail->setText(c.EditEMail);
    EditHost->setText(c.EditHost);
    EditPort->setText(c.EditPort);
    CheckBoxHelo->setChecked(c.CheckBoxHelo);
    EditSubject->setText(c.EditSubject);
    EditFrom->setText(c.EditFrom);
    EditUserName->setText(c.EditUserName);
    EditPassword->setText(c.EditPassword);
    CheckBoxAuth->setChecked(c.CheckBoxAuth);

    CheckBoxRep->setChecked(c.CheckBoxRep);
    CheckBoxRepAdd->setChecked(c.CheckBoxRepAdd);
    CheckBoxRepSize->setChecked(c.CheckBoxRepSize);
    EditRepSize->setText(c.EditRepSize);
    CheckBoxRun->setChecked(c.CheckBoxRun);
    CheckBoxRunAdd->setChecked(c.CheckBoxRunAdd);
    CheckBoxRunSize->setChecked(c.CheckBoxRunSize);
    EditRunSize->setText(c.EditRunSize);

    QRadioButton *mode = c.Mode == ScheduleMode::OnStartup ? RadioButtonRunPC
        : c.Mode == ScheduleMode::Weekly                   ? RadioButtonEWeek
        : c.Mode == ScheduleMode::Monthly                  ? RadioButtonEMonth
                                                           : RadioButtonEDay;
    mode->setChecked(true);
    CheckBoxOnce->setChecked(c.CheckBoxOnce);
    CheckBoxNotWeek->setChecked(c.CheckBoxNotWeek);
    CheckBoxMin->setChecked(c.CheckBoxMin);
    for (int day = 0; day < 31; ++day)
        BitBtn[day]->setChecked(c.BitBtnDay[day]);
    ListBoxTimes->clear();
    ListBoxTimes->addItems(c.ListBoxTimes);
}

void TFormVorrin::showCopies()
{
    // A folder named in another code page shows its odd bytes as "\xNN".
    ButtonRepDir->setToolTip(platform::readableFileName(m_settings.Copies.ButtonRepDirHint));
    ButtonRunDir->setToolTip(platform::readableFileName(m_settings.Copies.ButtonRunDirHint));
}

void TFormVorrin::ApplyEnableRules()
{
    const TVorrinEnabled e = EnabledControls(controls());
    CheckBoxPause->setEnabled(e.CheckBoxPause);
    CheckBoxTime->setEnabled(e.CheckBoxTime);
    EditTime->setEnabled(e.EditTime);
    LabelMinutes->setEnabled(e.EditTime);

    CheckBoxAPrint->setEnabled(e.CheckBoxAPrint);
    CheckBoxASend->setEnabled(e.CheckBoxASend);
    CheckBoxAOnlyErrors->setEnabled(e.CheckBoxAOnlyErrors);
    CheckBoxASumRep->setEnabled(e.CheckBoxASumRep);
    CheckBoxAPower->setEnabled(e.CheckBoxAPower);

    for (QWidget *widget : std::initializer_list<QWidget *>{CheckBoxRepAdd, CheckBoxRepSize, ButtonRep, ButtonRepDir})
        widget->setEnabled(e.ReportOptions);
    EditRepSize->setEnabled(e.EditRepSize);
    LabelRepKb->setEnabled(e.EditRepSize);
    for (QWidget *widget : std::initializer_list<QWidget *>{CheckBoxRunAdd, CheckBoxRunSize, ButtonRun, ButtonRunDir})
        widget->setEnabled(e.JournalOptions);
    EditRunSize->setEnabled(e.EditRunSize);
    LabelRunKb->setEnabled(e.EditRunSize);

    CheckBoxSFX->setEnabled(e.ArchiveVolumes);
    LabelVol->setEnabled(e.ArchiveVolumes);
    ComboBoxVol->setEnabled(e.ArchiveVolumes);
    RadioButtonRPath->setEnabled(e.PathRadios);
    RadioButtonFPath->setEnabled(e.PathRadios);
    CheckBoxWithDrive->setEnabled(e.CheckBoxWithDrive);
    for (QWidget *widget : std::initializer_list<QWidget *>{LabelUserName, EditUserName, LabelPassword, EditPassword})
        widget->setEnabled(e.Authorization);

    ListBoxTimes->setEnabled(e.TimeList);
    BitBtnAdd->setEnabled(e.TimeList);
    const bool selected = e.TimeList && !ListBoxTimes->selectedItems().isEmpty();
    BitBtnEdit->setEnabled(selected);
    BitBtnDel->setEnabled(selected);
    CheckBoxNotWeek->setEnabled(e.CheckBoxNotWeek);
    CheckBoxOnce->setEnabled(e.CheckBoxOnce);
    PanelWeekDays->setVisible(e.PanelWeekDaysVisible);
    PanelMonthDays->setVisible(e.PanelMonthDaysVisible);
}

} // namespace zentavo
