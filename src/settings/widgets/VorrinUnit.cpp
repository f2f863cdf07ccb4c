#include "VorrinUnit.h"

#include "ConstStr.h"
#include "DialogRunner.h"
#include "FormBuilders.h"
#include "LocalizeForm.h"
#include "MailSession.h"
#include "Paths.h"
#include "PortNumber.h"
#include "Prompter.h"
#include "RegistryKey.h"
#include "ReportFile.h"
#include "SetTime.h"
#include "SuiteMessages.h"
#include "ViewRep.h"
#include "ZentavoExt.h"
#include "ZetuUnit.h"

#include <QApplication>
#include <QShortcut>

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

enum Page { SchedulePage = 0, OptionsPage = 1, ArchivePage = 2, MailPage = 3, ReportPage = 4 };

QString portMessage(const QString &port)
{
    return QStringLiteral("Port \"%1\": enter a port number from 1 to 65535").arg(port);
}

// The first control of a page that takes the focus by Tab.
QWidget *firstFocusable(QWidget *page)
{
    for (QWidget *widget : page->findChildren<QWidget *>()) {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && widget->isVisibleTo(page))
            return widget;
    }
    return page;
}

} // namespace

TFormVorrin::TFormVorrin(QWidget *parent, VorrinLoadContext context)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setObjectName(QStringLiteral("FormVorrin"));
    PageControl = named(new QTabWidget(this), "PageControl");
    buildSchedulePage();
    buildOptionsPage();
    buildArchivePage();
    buildMailPage();
    buildReportPage();
    LabelAbout = label(this, "LabelAbout", QString());
    ButtonOk = pushButton(this, "ButtonOk", QStringLiteral("Ok"));
    ButtonOk->setDefault(true);
    ButtonCancel = pushButton(this, "ButtonCancel", QStringLiteral("Cancel"));
    ButtonUse = pushButton(this, "ButtonUse", QStringLiteral("Apply"));
    ButtonUse->setEnabled(false);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(LabelAbout, 1);
    bottom->addWidget(ButtonOk);
    bottom->addWidget(ButtonCancel);
    bottom->addWidget(ButtonUse);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addLayout(bottom);

    FormSetTime = new TFormSetTime(this);
    FormRep = new TFormRep(this);
    Msg.Charset = QStringLiteral("windows-1251");
    SMTP.setObjectName(QStringLiteral("SMTP"));
    SMTP.Handshaking = smtpmail::hsManual;

    connectEnableRules();
    connectButtons();
    FormCreate(this);
}

void TFormVorrin::buildSchedulePage()
{
    TabSheetVorrin = named(new QWidget, "TabSheetVorrin");
    PageControl->addTab(TabSheetVorrin, QStringLiteral("Schedule"));
    QWidget *page = TabSheetVorrin;

    auto *modes = new QVBoxLayout;
    RadioButtonRunPC = radioButton(page, "RadioButtonRunPC", QStringLiteral("On startup"));
    CheckBoxOnce = checkBox(page, "CheckBoxOnce", QStringLiteral("Once per day"));
    RadioButtonEDay = radioButton(page, "RadioButtonEDay", QStringLiteral("Daily"));
    RadioButtonEDay->setChecked(true);
    CheckBoxNotWeek = checkBox(page, "CheckBoxNotWeek", QStringLiteral("Except days off"));
    RadioButtonEWeek = radioButton(page, "RadioButtonEWeek", QStringLiteral("Weekly"));
    RadioButtonEMonth = radioButton(page, "RadioButtonEMonth", QStringLiteral("Monthly"));
    CheckBoxMin = checkBox(page, "CheckBoxMin", QStringLiteral("Run minimized"));
    for (QWidget *widget : std::initializer_list<QWidget *>{RadioButtonRunPC, CheckBoxOnce, RadioButtonEDay, CheckBoxNotWeek,
                                                            RadioButtonEWeek, RadioButtonEMonth, CheckBoxMin})
        modes->addWidget(widget);
    modes->addStretch();

    PanelWeekDays = named(new QWidget(page), "PanelWeekDays");
    DayOfWeek = dayBoxes(PanelWeekDays, "DayOfWeek", new QHBoxLayout(PanelWeekDays));

    PanelMonthDays = named(new QWidget(page), "PanelMonthDays");
    // A day that is on looks pressed and highlighted.
    PanelMonthDays->setStyleSheet(QStringLiteral(
        "QPushButton:checked { background: palette(highlight); color: palette(highlighted-text); font-weight: bold; }"));
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
    TabSheetOptions = named(new QWidget, "TabSheetOptions");
    PageControl->addTab(TabSheetOptions, QString());
    QWidget *page = TabSheetOptions;

    ComboBoxPrior = comboBox(page, "ComboBoxPrior", {QStringLiteral("Low"), QStringLiteral("Normal"), QStringLiteral("High")});
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
    for (QWidget *box : std::initializer_list<QWidget *>{CheckBoxAClose, CheckBoxAPrint, CheckBoxASend, CheckBoxAOnlyErrors,
                                                         CheckBoxASumRep, CheckBoxAPower})
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
    TabSheetArchive = named(new QWidget, "TabSheetArchive");
    PageControl->addTab(TabSheetArchive, QStringLiteral("Archive"));
    QWidget *page = TabSheetArchive;

    // The two archive modes exclude each other only: they get a box of their own.
    auto *modes = new QWidget(page);
    RadioButtonArcNew = radioButton(modes, "RadioButtonArcNew", QStringLiteral("Create anew"));
    RadioButtonArcAdd = radioButton(modes, "RadioButtonArcAdd", QStringLiteral("Update"));
    RadioButtonArcNew->setChecked(true);
    auto *modeLayout = new QVBoxLayout(modes);
    modeLayout->addWidget(RadioButtonArcNew);
    modeLayout->addWidget(RadioButtonArcAdd);

    ComboBoxComp = comboBox(page, "ComboBoxComp",
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
    for (QWidget *widget : std::initializer_list<QWidget *>{CheckBoxInfoPath, RadioButtonRPath, RadioButtonFPath, CheckBoxWithDrive})
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
    TabSheetMail = named(new QWidget, "TabSheetMail");
    PageControl->addTab(TabSheetMail, QStringLiteral("Mail"));
    QWidget *page = TabSheetMail;

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
    TabSheetReport = named(new QWidget, "TabSheetReport");
    PageControl->addTab(TabSheetReport, QStringLiteral("Report"));
    QWidget *page = TabSheetReport;

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

    const auto arrange = [](QGroupBox *group, QWidget *use, QWidget *append, QWidget *limit, QWidget *size,
                            QWidget *kb, QWidget *view, QWidget *location) {
        auto *grid = new QGridLayout(group);
        grid->addWidget(use, 0, 0);
        grid->addWidget(append, 1, 0);
        grid->addWidget(limit, 2, 0);
        grid->addWidget(size, 2, 1);
        grid->addWidget(kb, 2, 2);
        grid->addWidget(view, 0, 3);
        grid->addWidget(location, 1, 3);
    };
    arrange(GroupBoxRep, CheckBoxRep, CheckBoxRepAdd, CheckBoxRepSize, EditRepSize, LabelRepKb, ButtonRep, ButtonRepDir);
    arrange(GroupBoxRun, CheckBoxRun, CheckBoxRunAdd, CheckBoxRunSize, EditRunSize, LabelRunKb, ButtonRun, ButtonRunDir);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(GroupBoxRep);
    layout->addWidget(GroupBoxRun);
    layout->addStretch();
}

void TFormVorrin::connectEnableRules()
{
    for (QAbstractButton *button : std::initializer_list<QAbstractButton *>{
             CheckBoxPause, CheckBoxMenu, CheckBoxTime, CheckBoxAClose, CheckBoxAPrint, CheckBoxASend, CheckBoxAPower,
             CheckBoxRep, CheckBoxRepSize, CheckBoxRun, CheckBoxRunSize, CheckBoxInfoPath, RadioButtonRPath,
             RadioButtonFPath, CheckBoxAuth, RadioButtonRunPC, RadioButtonEDay, RadioButtonEWeek, RadioButtonEMonth})
        connect(button, &QAbstractButton::clicked, this, &TFormVorrin::ApplyEnableRules);
    connect(RadioButtonArcNew, &QAbstractButton::clicked, this, &TFormVorrin::RadioButtonArcNewClick);
    connect(RadioButtonArcAdd, &QAbstractButton::clicked, this, &TFormVorrin::RadioButtonArcNewClick);
    connect(ListBoxTimes, &QListWidget::itemSelectionChanged, this, &TFormVorrin::ApplyEnableRules);

    // Only what the user does makes Apply available: clicks and typing, not
    // the changes the load makes in code. The authentication box only
    // enables its fields.
    for (QAbstractButton *button : PageControl->findChildren<QAbstractButton *>()) {
        if (button->isCheckable() && button != CheckBoxAuth)
            connect(button, &QAbstractButton::clicked, this, &TFormVorrin::EnableButUse);
    }
    for (QLineEdit *edit : PageControl->findChildren<QLineEdit *>())
        connect(edit, &QLineEdit::textEdited, this, &TFormVorrin::EnableButUse);
    for (QComboBox *combo : PageControl->findChildren<QComboBox *>())
        connect(combo, &QComboBox::activated, this, &TFormVorrin::EnableButUse);
}

void TFormVorrin::connectButtons()
{
    connect(ButtonOk, &QPushButton::clicked, this, &TFormVorrin::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonUse, &QPushButton::clicked, this, &TFormVorrin::ButtonUseClick);
    connect(BitBtnAdd, &QPushButton::clicked, this, &TFormVorrin::BitBtnAddClick);
    connect(BitBtnEdit, &QPushButton::clicked, this, &TFormVorrin::BitBtnEditClick);
    connect(ListBoxTimes, &QListWidget::itemDoubleClicked, this, &TFormVorrin::BitBtnEditClick);
    connect(BitBtnDel, &QPushButton::clicked, this, &TFormVorrin::BitBtnDelClick);
    connect(ButtonBrowse, &QPushButton::clicked, this, &TFormVorrin::ButtonBrowseClick);
    connect(ButtonRepDir, &QPushButton::clicked, this, [this] { ButtonRepDirClick(ButtonRepDir); });
    connect(ButtonRunDir, &QPushButton::clicked, this, [this] { ButtonRepDirClick(ButtonRunDir); });
    connect(ButtonTemp, &QPushButton::clicked, this, &TFormVorrin::ButtonTempClick);
    connect(ButtonRep, &QPushButton::clicked, this, &TFormVorrin::ButtonRepClick);
    connect(ButtonRun, &QPushButton::clicked, this, &TFormVorrin::ButtonRunClick);
    connect(BitBtnTest, &QPushButton::clicked, this, &TFormVorrin::BitBtnTestClick);
    // Tab turns the page wherever the focus is; Shift+Tab still moves it.
    // Enter (the default button Ok) and Esc (reject) are the dialog's own.
    connect(new QShortcut(QKeySequence(Qt::Key_Tab), this), &QShortcut::activated, this, &TFormVorrin::SelectNextPage);
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

void TFormVorrin::FormCreate(QObject *)
{
    LocalizeForm(this);
    copySharedCaptions();
    PageControl->setTabText(OptionsPage, m_context.productTitle);
    LabelAbout->setText(AboutText(m_context.mainProgram));
    // A value that cannot be read keeps the designed state, never an
    // unsaved edit: a reload drops them all.
    TVorrinControls loaded;
    LoadVorrinSettings(loaded, Copies, m_context);
    showControls(loaded);
    showCopies();
    ApplyEnableRules();
    ButtonUse->setEnabled(false);
}

bool TFormVorrin::SaveSettings()
{
    TVorrinControls input = controls();
    const VorrinFault fault = ValidateVorrinSettings(input);
    EditTime->setText(input.EditTime);
    if (fault != VorrinFault::None) {
        showFault(fault);
        return false;
    }
    if (!SaveVorrinSettings(input, Copies)) {
        platform::prompter().message({windowTitle(), sWriteError + u'\n' + platform::registryFileName(),
                                      platform::PromptIcon::Error, platform::PromptButton::Ok, {}});
        return false;
    }
    showCopies();
    PostVorrinUpdate();
    return true;
}

void TFormVorrin::showFault(VorrinFault fault)
{
    QString caption;
    QString text = sEnterInt;
    Page page = ReportPage;
    QWidget *field = nullptr;
    switch (fault) {
    case VorrinFault::None:
        return;
    case VorrinFault::TimeNotNumber:
        caption = sTimeWaiting;
        page = OptionsPage;
        field = EditTime;
        break;
    case VorrinFault::ReportSizeNotNumber:
        caption = sSizeReport;
        field = EditRepSize;
        break;
    case VorrinFault::JournalSizeNotNumber:
        caption = sSizeJournal;
        field = EditRunSize;
        break;
    case VorrinFault::NoWeekDay:
    case VorrinFault::NoMonthDay: {
        QRadioButton *mode = fault == VorrinFault::NoWeekDay ? RadioButtonEWeek : RadioButtonEMonth;
        caption = PageControl->tabText(SchedulePage);
        text = sField1 + DeleteAmpersand(mode->text()) + sField2;
        page = SchedulePage;
        field = fault == VorrinFault::NoWeekDay ? static_cast<QWidget *>(DayOfWeek[0]) : BitBtn[0];
        break;
    }
    case VorrinFault::VolumeNotNumber:
        caption = DeleteAmpersand(GroupBoxVol->title());
        text = DeleteAmpersand(LabelVol->text());
        page = ArchivePage;
        field = ComboBoxVol;
        break;
    case VorrinFault::PortNotNumber:
        caption = DeleteAmpersand(GroupBoxServer->title());
        text = portMessage(EditPort->text());
        page = MailPage;
        field = EditPort;
        break;
    }
    platform::prompter().message({caption, text, platform::PromptIcon::Warning, platform::PromptButton::Ok, {}});
    PageControl->setCurrentIndex(page);
    if (field->isEnabled())
        field->setFocus();
}

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
    ButtonRepDir->setToolTip(Copies.ButtonRepDirHint);
    ButtonRunDir->setToolTip(Copies.ButtonRunDirHint);
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

void TFormVorrin::RadioButtonArcNewClick()
{
    if (RadioButtonArcAdd->isChecked())
        ComboBoxVol->setCurrentIndex(0);
    ApplyEnableRules();
}

void TFormVorrin::done(int result)
{
    // A test mail still waiting ends here, with its message.
    SMTP.AbortSession();
    FormCreate(this);
    QDialog::done(result);
}

void TFormVorrin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ButtonUse->setEnabled(false);
}

void TFormVorrin::SelectNextPage()
{
    PageControl->setCurrentIndex((PageControl->currentIndex() + 1) % PageControl->count());
    firstFocusable(PageControl->currentWidget())->setFocus(Qt::TabFocusReason);
}

void TFormVorrin::ButtonOkClick()
{
    if (SaveSettings())
        accept();
}

void TFormVorrin::ButtonUseClick()
{
    if (SaveSettings())
        ButtonUse->setEnabled(false);
}

void TFormVorrin::EnableButUse()
{
    ButtonUse->setEnabled(true);
}

void TFormVorrin::BitBtnAddClick()
{
    FormSetTime->SetTime(0, 0);
    if (platform::runDialog(*FormSetTime) != QDialog::Accepted)
        return;
    // Sorted, after the equal entries: "HH:MM" sorts as text.
    const QString entry = FormSetTime->TimeText();
    int row = 0;
    while (row < ListBoxTimes->count() && ListBoxTimes->item(row)->text() <= entry)
        ++row;
    ListBoxTimes->insertItem(row, entry);
    EnableButUse();
}

void TFormVorrin::BitBtnEditClick()
{
    const QList<QListWidgetItem *> selected = ListBoxTimes->selectedItems();
    if (selected.isEmpty() || !ListBoxTimes->isEnabled())
        return;
    QListWidgetItem *item = selected.first();
    const QString text = item->text();
    FormSetTime->SetTime(text.mid(0, 2).toInt(), text.mid(3, 2).toInt());
    if (platform::runDialog(*FormSetTime) != QDialog::Accepted)
        return;
    item->setText(FormSetTime->TimeText());
    EnableButUse();
}

void TFormVorrin::BitBtnDelClick()
{
    const QList<QListWidgetItem *> selected = ListBoxTimes->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = ListBoxTimes->row(selected.first());
    const std::unique_ptr<QListWidgetItem> removed(ListBoxTimes->takeItem(row));
    if (ListBoxTimes->count() > 0)
        ListBoxTimes->setCurrentRow(std::min(row, ListBoxTimes->count() - 1));
    ApplyEnableRules();
    EnableButUse();
}

void TFormVorrin::ButtonBrowseClick()
{
    platform::FileRequest request;
    request.title = DeleteAmpersand(GroupBoxFJob->title());
    request.folder = platform::folderPart(EditFJob->text());
    request.fileName = EditFJob->text();
    request.filter = JobFileFilter();
    request.defaultSuffix = QStringLiteral("dat");
    const std::optional<QString> chosen = platform::prompter().fileName(request);
    if (!chosen)
        return;
    EditFJob->setText(*chosen);
    EnableButUse();
}

void TFormVorrin::ButtonRepDirClick(QPushButton *button)
{
    QString folder = button->toolTip();
    if (!SelectFolder(sReport + u'\n' + DeleteAmpersand(button->text()), QString(), folder))
        return;
    (button == ButtonRepDir ? Copies.ButtonRepDirHint : Copies.ButtonRunDirHint) = platform::withTrailingSeparator(folder);
    showCopies();
    EnableButUse();
}

void TFormVorrin::ButtonTempClick()
{
    QString folder = EditTemp->text();
    if (!SelectFolder(DeleteAmpersand(GroupBoxTemp->title()), QString(), folder))
        return;
    EditTemp->setText(platform::withTrailingSeparator(folder));
    EnableButUse();
}

void TFormVorrin::ButtonRepClick()
{
    ShowReport(sReport, platform::fileInFolder(Copies.ButtonRepDirHint, ReportFile::FileName));
}

void TFormVorrin::ButtonRunClick()
{
    ShowReport(sJournal, platform::fileInFolder(Copies.ButtonRunDirHint, JournalFileName));
}

void TFormVorrin::ShowReport(const QString &caption, const QString &fileName)
{
    if (FormRep->LoadFile(caption, fileName))
        platform::runDialog(*FormRep);
}

void TFormVorrin::BitBtnTestClick()
{
    const TVorrinControls c = controls();
    const std::optional<quint16> port = PortNumber(c.EditPort);
    if (!port) {
        showFault(VorrinFault::PortNotNumber);
        return;
    }
    const smtpmail::TMailSettings settings{c.EditHost,     c.EditPort,     c.EditEMail,
                                           c.EditSubject,  c.EditFrom,     c.CheckBoxHelo,
                                           c.CheckBoxAuth, c.EditUserName, c.EditPassword};
    const QString version = GetVersionInfoStr();
    smtpmail::PrepareMail(SMTP, Msg, settings, c.EditSubject, m_context.productTitle,
                          version + QStringLiteral("\n\n") + DeleteAmpersand(BitBtnTest->text()));
    SMTP.Port = *port;

    // The dialog stays responsive while the server is awaited; one test at a time.
    BitBtnTest->setEnabled(false);
    QStringList transcript;
    const std::optional<smtpmail::TSmtpStep> failed = smtpmail::RunSmtpSession(
        SMTP, settings, smtpmail::TAfterRefusedSend::Abort,
        [&](smtpmail::TSmtpStep, bool) { transcript << SMTP.LastReply().trimmed(); });
    BitBtnTest->setEnabled(true);

    const QString text = SMTP.objectName() + QStringLiteral(": ") + smtpmail::SessionStatus(failed) + u'\n'
        + transcript.join(u'\n') + u'\n' + version;
    platform::prompter().message({QApplication::applicationDisplayName(), text,
                                  failed ? platform::PromptIcon::Error : platform::PromptIcon::Information,
                                  platform::PromptButton::Ok, {}});
}

} // namespace zentavo
