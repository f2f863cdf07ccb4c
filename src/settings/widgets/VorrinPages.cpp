// The five pages of the settings dialog: their controls, laid out, and the
// captions that controls share with their twins.
#include "settings/widgets/VorrinUnit.h"

#include "shared/widgets/FormBuilders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zentavo {

using namespace forms;

namespace {

// The next page of the dialog, named for the language file.
QWidget *addPage(QTabWidget *pages, const char *name, const QString &caption)
{
    QWidget *page = named(new QWidget, name);
    pages->addTab(page, caption);
    return page;
}

} // namespace

void TFormVorrin::buildSchedulePage()
{
    QWidget *page = TabSheetVorrin = addPage(PageControl, "TabSheetVorrin", QStringLiteral("Schedule"));

    auto *modes = new QVBoxLayout;
    RadioButtonRunPC = radioButton(page, "RadioButtonRunPC", QStringLiteral("On startup"));
    CheckBoxOnce = checkBox(page, "CheckBoxOnce", QStringLiteral("Once per day"));
    RadioButtonEDay = radioButton(page, "RadioButtonEDay", QStringLiteral("Daily"));
    RadioButtonEDay->setChecked(true);
    CheckBoxNotWeek = checkBox(page, "CheckBoxNotWeek", QStringLiteral("Except days off"));
    RadioButtonEWeek = radioButton(page, "RadioButtonEWeek", QStringLiteral("Weekly"));
    RadioButtonEMonth = radioButton(page, "RadioButtonEMonth", QStringLiteral("Monthly"));
    CheckBoxMin = checkBox(page, "CheckBoxMin", QStringLiteral("Run minimized"));
    for (QWidget *widget :
         std::initializer_list<QWidget *>{RadioButtonRunPC, CheckBoxOnce, RadioButtonEDay, CheckBoxNotWeek,
                                          RadioButtonEWeek, RadioButtonEMonth, CheckBoxMin})
        modes->addWidget(widget);
    modes->addStretch();

    PanelWeekDays = named(new QWidget(page), "PanelWeekDays");
    DayOfWeek = dayBoxes(PanelWeekDays, "DayOfWeek", new QHBoxLayout(PanelWeekDays));

    PanelMonthDays = named(new QWidget(page), "PanelMonthDays");
    // A day that is on looks pressed and highlighted.
    PanelMonthDays->setStyleSheet(QStringLiteral("QPushButton:checked { background: palette(highlight); color: "
                                                 "palette(highlighted-text); font-weight: bold; }"));
    auto *monthGrid = new QGridLayout(PanelMonthDays);
    for (int day = 1; day <= 31; ++day) {
        QPushButton *button = new QPushButton(QString::number(day), PanelMonthDays);
        button->setObjectName(indexedName("BitBtn", day));
        button->setCheckable(true);
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16);
        // Enter means Ok here too; a day is switched with a click or Space.
        button->setAutoDefault(false);
        monthGrid->addWidget(button, (day - 1) / 7, (day - 1) % 7);
        BitBtn[day - 1] = button;
    }

    LabelTimes = label(page, "LabelTimes", QStringLiteral("Time"));
    ListBoxTimes = named(new QListWidget(page), "ListBoxTimes");
    ListBoxTimes->addItem(QStringLiteral("22:00"));
    BitBtnAdd = pushButton(page, "BitBtnAdd", QStringLiteral("Add"));
    BitBtnEdit = pushButton(page, "BitBtnEdit", QStringLiteral("Edit"));
    BitBtnDel = pushButton(page, "BitBtnDel", QStringLiteral("Delete"));
    BitBtnEdit->setEnabled(false);
    BitBtnDel->setEnabled(false);
    auto *timeButtons = new QVBoxLayout;
    timeButtons->addWidget(BitBtnAdd);
    timeButtons->addWidget(BitBtnEdit);
    timeButtons->addWidget(BitBtnDel);
    timeButtons->addStretch();
    auto *times = new QGridLayout;
    times->addWidget(LabelTimes, 0, 0);
    times->addWidget(ListBoxTimes, 1, 0);
    times->addLayout(timeButtons, 1, 1);

    auto *top = new QHBoxLayout;
    top->addLayout(modes);
    top->addLayout(times);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(PanelWeekDays);
    layout->addWidget(PanelMonthDays);
}

void TFormVorrin::buildOptionsPage()
{
    QWidget *page = TabSheetOptions = addPage(PageControl, "TabSheetOptions", QString());

    ComboBoxPrior
        = comboBox(page, "ComboBoxPrior", {QStringLiteral("Low"), QStringLiteral("Normal"), QStringLiteral("High")});
    ComboBoxPrior->setCurrentIndex(1);

    GroupBoxFJob = groupBox(page, "GroupBoxFJob", QStringLiteral("Default datafile"));
    const PathRow job = pathRow(GroupBoxFJob, "EditFJob", "ButtonBrowse");
    EditFJob = job.edit;
    ButtonBrowse = job.browse;

    GroupBoxDays = groupBox(page, "GroupBoxDays", QStringLiteral("Days off"));
    CheckBoxDay = dayBoxes(GroupBoxDays, "CheckBoxDay", new QHBoxLayout(GroupBoxDays));

    GroupBoxBefore = groupBox(page, "GroupBoxBefore", QStringLiteral("Before archiving"));
    CheckBoxPause = checkBox(GroupBoxBefore, "CheckBoxPause", QStringLiteral("Pause"));
    CheckBoxMenu = checkBox(GroupBoxBefore, "CheckBoxMenu", QStringLiteral("Menu"));
    CheckBoxTime = checkBox(GroupBoxBefore, "CheckBoxTime", QStringLiteral("Time"));
    EditTime = lineEdit(GroupBoxBefore, "EditTime");
    EditTime->setMaxLength(3);
    LabelMinutes = label(GroupBoxBefore, "LabelMinutes", QStringLiteral("minutes"));
    auto *before = new QGridLayout(GroupBoxBefore);
    before->addWidget(CheckBoxPause, 0, 0);
    before->addWidget(CheckBoxMenu, 1, 0);
    before->addWidget(CheckBoxTime, 2, 0);
    before->addWidget(EditTime, 2, 1);
    before->addWidget(LabelMinutes, 2, 2);

    GroupBoxAfter = groupBox(page, "GroupBoxAfter", QStringLiteral("After archiving"));
    CheckBoxAClose = checkBox(GroupBoxAfter, "CheckBoxAClose", QStringLiteral("Close programm"));
    CheckBoxAPrint = checkBox(GroupBoxAfter, "CheckBoxAPrint", QStringLiteral("Print result"));
    CheckBoxASend = checkBox(GroupBoxAfter, "CheckBoxASend", QStringLiteral("Send result by e-mail"));
    CheckBoxAOnlyErrors = checkBox(GroupBoxAfter, "CheckBoxAOnlyErrors", QStringLiteral("Only errors"));
    CheckBoxASumRep = checkBox(GroupBoxAfter, "CheckBoxASumRep", QStringLiteral("Summary report"));
    CheckBoxAPower = checkBox(GroupBoxAfter, "CheckBoxAPower", QStringLiteral("Power off"));
    auto *after = new QVBoxLayout(GroupBoxAfter);
    for (QWidget *box : std::initializer_list<QWidget *>{CheckBoxAClose, CheckBoxAPrint, CheckBoxASend,
                                                         CheckBoxAOnlyErrors, CheckBoxASumRep, CheckBoxAPower})
        after->addWidget(box);

    auto *layout = new QGridLayout(page);
    layout->addWidget(ComboBoxPrior, 0, 0);
    layout->addWidget(GroupBoxFJob, 1, 0, 1, 2);
    layout->addWidget(GroupBoxDays, 2, 0, 1, 2);
    layout->addWidget(GroupBoxBefore, 3, 0);
    layout->addWidget(GroupBoxAfter, 3, 1);
}

void TFormVorrin::buildArchivePage()
{
    QWidget *page = TabSheetArchive = addPage(PageControl, "TabSheetArchive", QStringLiteral("Archive"));

    // The two archive modes exclude each other only: they get a box of their own.
    auto *modes = new QWidget(page);
    RadioButtonArcNew = radioButton(modes, "RadioButtonArcNew", QStringLiteral("Create anew"));
    RadioButtonArcAdd = radioButton(modes, "RadioButtonArcAdd", QStringLiteral("Update"));
    RadioButtonArcNew->setChecked(true);
    auto *modeLayout = new QVBoxLayout(modes);
    modeLayout->addWidget(RadioButtonArcNew);
    modeLayout->addWidget(RadioButtonArcAdd);

    ComboBoxComp = comboBox(
        page, "ComboBoxComp",
        {QStringLiteral("No"), QStringLiteral("Minimum"), QStringLiteral("Normal"), QStringLiteral("Maximum")});
    ComboBoxComp->setCurrentIndex(2);
    CheckBoxRecurse = checkBox(page, "CheckBoxRecurse", QStringLiteral("Recursively"));
    CheckBoxSFX = checkBox(page, "CheckBoxSFX", QStringLiteral("Create SFX archive"));
    CheckBoxDelBad = checkBox(page, "CheckBoxDelBad", QStringLiteral("Delete bad files"));
    CheckBoxDelBad->hide();

    GroupBoxPath = groupBox(page, "GroupBoxPath", QStringLiteral("Path information"));
    CheckBoxInfoPath = checkBox(GroupBoxPath, "CheckBoxInfoPath", QStringLiteral("Store path information"));
    RadioButtonRPath = radioButton(GroupBoxPath, "RadioButtonRPath", QStringLiteral("Relative path"));
    RadioButtonFPath = radioButton(GroupBoxPath, "RadioButtonFPath", QStringLiteral("Full path"));
    RadioButtonRPath->setChecked(true);
    CheckBoxWithDrive = checkBox(GroupBoxPath, "CheckBoxWithDrive", QStringLiteral("with drive letter"));
    CheckBoxWithDrive->setEnabled(false);
    auto *path = new QVBoxLayout(GroupBoxPath);
    for (QWidget *widget :
         std::initializer_list<QWidget *>{CheckBoxInfoPath, RadioButtonRPath, RadioButtonFPath, CheckBoxWithDrive})
        path->addWidget(widget);

    GroupBoxCharset = groupBox(page, "GroupBoxCharset", QStringLiteral("Filenames charset"));
    RadioButtonOEM = radioButton(GroupBoxCharset, "RadioButtonOEM", QStringLiteral("OEM"));
    RadioButtonWin = radioButton(GroupBoxCharset, "RadioButtonWin", QStringLiteral("Windows"));
    RadioButtonWin->setChecked(true);
    auto *charset = new QVBoxLayout(GroupBoxCharset);
    charset->addWidget(RadioButtonOEM);
    charset->addWidget(RadioButtonWin);

    GroupBoxVol = groupBox(page, "GroupBoxVol", QStringLiteral("Volumes"));
    LabelVol = label(GroupBoxVol, "LabelVol", QStringLiteral("Select or enter the volume size (in Kb)"));
    QStringList volumeItems;
    for (const char *text : VolumeItemTexts)
        volumeItems << QLatin1String(text);
    ComboBoxVol = comboBox(GroupBoxVol, "ComboBoxVol", volumeItems);
    ComboBoxVol->setEditable(true);
    ComboBoxVol->setInsertPolicy(QComboBox::NoInsert);
    auto *volumes = new QVBoxLayout(GroupBoxVol);
    volumes->addWidget(LabelVol);
    volumes->addWidget(ComboBoxVol);

    GroupBoxTemp = groupBox(page, "GroupBoxTemp", QStringLiteral("Temporary directory"));
    const PathRow temp = pathRow(GroupBoxTemp, "EditTemp", "ButtonTemp");
    EditTemp = temp.edit;
    ButtonTemp = temp.browse;

    CheckBoxEmptyFolders = checkBox(page, "CheckBoxEmptyFolders", QStringLiteral("Store empty folders"));

    auto *layout = new QGridLayout(page);
    layout->addWidget(modes, 0, 0);
    layout->addWidget(ComboBoxComp, 0, 1);
    layout->addWidget(CheckBoxRecurse, 1, 0);
    layout->addWidget(CheckBoxSFX, 1, 1);
    layout->addWidget(GroupBoxPath, 2, 0);
    layout->addWidget(GroupBoxCharset, 2, 1);
    layout->addWidget(GroupBoxVol, 3, 0, 1, 2);
    layout->addWidget(GroupBoxTemp, 4, 0, 1, 2);
    layout->addWidget(CheckBoxEmptyFolders, 5, 0);
}

void TFormVorrin::buildMailPage()
{
    QWidget *page = TabSheetMail = addPage(PageControl, "TabSheetMail", QStringLiteral("Mail"));

    LabelEMail = label(page, "LabelEMail", QStringLiteral("To"));
    EditEMail = lineEdit(page, "EditEMail");

    GroupBoxServer = groupBox(page, "GroupBoxServer", QStringLiteral("Mail server"));
    EditHost = lineEdit(GroupBoxServer, "EditHost");
    EditPort = lineEdit(GroupBoxServer, "EditPort");
    CheckBoxHelo = checkBox(GroupBoxServer, "CheckBoxHelo", QStringLiteral("Send 'Helo'/'Ehlo ' first"));
    auto *server = new QGridLayout(GroupBoxServer);
    server->addWidget(label(GroupBoxServer, "LabelHost", QStringLiteral("SMTP server")), 0, 0);
    server->addWidget(EditHost, 0, 1);
    server->addWidget(label(GroupBoxServer, "LabelPort", QStringLiteral("Port")), 1, 0);
    server->addWidget(EditPort, 1, 1);
    server->addWidget(CheckBoxHelo, 2, 0, 1, 2);

    EditSubject = lineEdit(page, "EditSubject");
    EditFrom = lineEdit(page, "EditFrom");

    GroupBoxAuth = groupBox(page, "GroupBoxAuth", QStringLiteral("Authorization"));
    LabelUserName = label(GroupBoxAuth, "LabelUserName", QStringLiteral("User name"));
    EditUserName = lineEdit(GroupBoxAuth, "EditUserName");
    LabelPassword = label(GroupBoxAuth, "LabelPassword", QStringLiteral("Password"));
    EditPassword = lineEdit(GroupBoxAuth, "EditPassword");
    EditPassword->setEchoMode(QLineEdit::Password);
    CheckBoxAuth = checkBox(GroupBoxAuth, "CheckBoxAuth", QStringLiteral("Authentication"));
    auto *auth = new QGridLayout(GroupBoxAuth);
    auth->addWidget(CheckBoxAuth, 0, 0, 1, 2);
    auth->addWidget(LabelUserName, 1, 0);
    auth->addWidget(EditUserName, 1, 1);
    auth->addWidget(LabelPassword, 2, 0);
    auth->addWidget(EditPassword, 2, 1);

    auto *layout = new QGridLayout(page);
    layout->addWidget(LabelEMail, 0, 0);
    layout->addWidget(EditEMail, 0, 1);
    layout->addWidget(GroupBoxServer, 1, 0, 1, 2);
    layout->addWidget(label(page, "LabelSubject", QStringLiteral("Subject")), 2, 0);
    layout->addWidget(EditSubject, 2, 1);
    layout->addWidget(label(page, "LabelFrom", QStringLiteral("From")), 3, 0);
    layout->addWidget(EditFrom, 3, 1);
    layout->addWidget(GroupBoxAuth, 4, 0, 1, 2);
    BitBtnTest = pushButton(page, "BitBtnTest", QStringLiteral("Test"));
    layout->addWidget(BitBtnTest, 5, 1, Qt::AlignRight);
    layout->setRowStretch(6, 1);
}

void TFormVorrin::buildReportPage()
{
    QWidget *page = TabSheetReport = addPage(PageControl, "TabSheetReport", QStringLiteral("Report"));

    GroupBoxRep = groupBox(page, "GroupBoxRep", QString());
    CheckBoxRep = checkBox(GroupBoxRep, "CheckBoxRep", QStringLiteral("Use report"));
    CheckBoxRepAdd = checkBox(GroupBoxRep, "CheckBoxRepAdd", QStringLiteral("Append"));
    CheckBoxRepSize = checkBox(GroupBoxRep, "CheckBoxRepSize", QStringLiteral("Limit size"));
    EditRepSize = lineEdit(GroupBoxRep, "EditRepSize");
    EditRepSize->setText(QStringLiteral("500"));
    LabelRepKb = label(GroupBoxRep, "LabelRepKb", QStringLiteral("Kb"));
    ButtonRep = pushButton(GroupBoxRep, "ButtonRep", QStringLiteral("View"));
    ButtonRepDir = pushButton(GroupBoxRep, "ButtonRepDir", QStringLiteral("Location"));

    GroupBoxRun = groupBox(page, "GroupBoxRun", QStringLiteral("Journal of start"));
    CheckBoxRun = checkBox(GroupBoxRun, "CheckBoxRun", QStringLiteral("Use journal"));
    CheckBoxRunAdd = checkBox(GroupBoxRun, "CheckBoxRunAdd", QString());
    CheckBoxRunSize = checkBox(GroupBoxRun, "CheckBoxRunSize", QString());
    EditRunSize = lineEdit(GroupBoxRun, "EditRunSize");
    EditRunSize->setText(QStringLiteral("500"));
    LabelRunKb = label(GroupBoxRun, "LabelRunKb", QString());
    ButtonRun = pushButton(GroupBoxRun, "ButtonRun", QString());
    ButtonRunDir = pushButton(GroupBoxRun, "ButtonRunDir", QString());

    const auto arrange = [](QGroupBox *group, QWidget *use, QWidget *append, QWidget *limit, QWidget *size, QWidget *kb,
                            QWidget *view, QWidget *location) {
        auto *grid = new QGridLayout(group);
        grid->addWidget(use, 0, 0);
        grid->addWidget(append, 1, 0);
        grid->addWidget(limit, 2, 0);
        grid->addWidget(size, 2, 1);
        grid->addWidget(kb, 2, 2);
        grid->addWidget(view, 0, 3);
        grid->addWidget(location, 1, 3);
    };
    arrange(GroupBoxRep, CheckBoxRep, CheckBoxRepAdd, CheckBoxRepSize, EditRepSize, LabelRepKb, ButtonRep,
            ButtonRepDir);
    arrange(GroupBoxRun, CheckBoxRun, CheckBoxRunAdd, CheckBoxRunSize, EditRunSize, LabelRunKb, ButtonRun,
            ButtonRunDir);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(GroupBoxRep);
    layout->addWidget(GroupBoxRun);
    layout->addStretch();
}

void TFormVorrin::copySharedCaptions()
{
    CheckBoxTime->setText(LabelTimes->text());
    for (int day = 0; day < 7; ++day)
        CheckBoxDay[day]->setText(DayOfWeek[day]->text());
    GroupBoxRep->setTitle(PageControl->tabText(ReportPage));
    CheckBoxRunAdd->setText(CheckBoxRepAdd->text());
    CheckBoxRunSize->setText(CheckBoxRepSize->text());
    LabelRunKb->setText(LabelRepKb->text());
    ButtonRun->setText(ButtonRep->text());
    ButtonRunDir->setText(ButtonRepDir->text());
    ButtonTemp->setText(ButtonBrowse->text());
}

} // namespace zentavo
