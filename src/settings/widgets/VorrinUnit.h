#pragma once

#include "MailMessage.h"
#include "SmtpClient.h"
#include "VorrinControls.h"
#include "VorrinStore.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace zentavo {

class TFormRep;
class TFormSetTime;

// The settings dialog. Its creation loads every setting into its controls and
// into Copies. The scheduler keeps one instance for its lifetime and reads
// Copies (saved values only); the main program reads the store itself and
// creates a dialog only while the user edits the settings. Components carry
// the names the language file and the other programs know them by.
class TFormVorrin : public QDialog {
    Q_OBJECT

public:
    explicit TFormVorrin(QWidget *parent = nullptr, VorrinLoadContext context = VorrinLoadContext::current());

    // Loads every setting (the creation handler; also the reload, with any
    // sender or none).
    void FormCreate(QObject *sender = nullptr);
    // Validates the controls and writes them to the store; False when the
    // input was refused (with a message) or the store could not be written.
    // Tells the other programs after a save.
    bool SaveSettings();

    // The current state of the controls, unsaved edits included (what the
    // main program's run takes its snapshot from).
    TVorrinControls controls() const;

    // Shows the report file of the report folder in the report viewer; also
    // the scheduler's "View report" command.
    void ButtonRepClick();

    // Every way of closing reloads the stored settings, so unsaved edits
    // are dropped.
    void done(int result) override;

    // The saved values for readers that must not see unsaved edits.
    TVorrinCopies Copies;

    QTabWidget *PageControl;
    QWidget *TabSheetVorrin;
    QWidget *TabSheetOptions;
    QWidget *TabSheetArchive;
    QWidget *TabSheetMail;
    QWidget *TabSheetReport;

    // Schedule
    QRadioButton *RadioButtonRunPC;
    QCheckBox *CheckBoxOnce;
    QRadioButton *RadioButtonEDay;
    QCheckBox *CheckBoxNotWeek;
    QRadioButton *RadioButtonEWeek;
    QRadioButton *RadioButtonEMonth;
    QCheckBox *CheckBoxMin;
    QWidget *PanelWeekDays;
    std::array<QCheckBox *, 7> DayOfWeek;
    QWidget *PanelMonthDays;
    std::array<QPushButton *, 31> BitBtn; // BitBtn1 to BitBtn31
    QLabel *LabelTimes;
    QListWidget *ListBoxTimes;
    QPushButton *BitBtnAdd;
    QPushButton *BitBtnEdit;
    QPushButton *BitBtnDel;

    // Options
    QComboBox *ComboBoxPrior;
    QGroupBox *GroupBoxFJob;
    QLineEdit *EditFJob;
    QPushButton *ButtonBrowse;
    QGroupBox *GroupBoxDays;
    std::array<QCheckBox *, 7> CheckBoxDay;
    QGroupBox *GroupBoxBefore;
    QCheckBox *CheckBoxPause;
    QCheckBox *CheckBoxMenu;
    QCheckBox *CheckBoxTime;
    QLineEdit *EditTime;
    QLabel *LabelMinutes;
    QGroupBox *GroupBoxAfter;
    QCheckBox *CheckBoxAClose;
    QCheckBox *CheckBoxAPrint;
    QCheckBox *CheckBoxASend;
    QCheckBox *CheckBoxAOnlyErrors;
    QCheckBox *CheckBoxASumRep;
    QCheckBox *CheckBoxAPower;

    // Archive
    QRadioButton *RadioButtonArcNew;
    QRadioButton *RadioButtonArcAdd;
    QComboBox *ComboBoxComp;
    QCheckBox *CheckBoxRecurse;
    QCheckBox *CheckBoxSFX;
    QCheckBox *CheckBoxDelBad;
    QGroupBox *GroupBoxPath;
    QCheckBox *CheckBoxInfoPath;
    QRadioButton *RadioButtonRPath;
    QRadioButton *RadioButtonFPath;
    QCheckBox *CheckBoxWithDrive;
    QGroupBox *GroupBoxCharset;
    QRadioButton *RadioButtonOEM;
    QRadioButton *RadioButtonWin;
    QGroupBox *GroupBoxVol;
    QLabel *LabelVol;
    QComboBox *ComboBoxVol;
    QGroupBox *GroupBoxTemp;
    QLineEdit *EditTemp;
    QPushButton *ButtonTemp;
    QCheckBox *CheckBoxEmptyFolders;

    // Mail
    QLabel *LabelEMail;
    QLineEdit *EditEMail;
    QGroupBox *GroupBoxServer;
    QLineEdit *EditHost;
    QLineEdit *EditPort;
    QCheckBox *CheckBoxHelo;
    QLineEdit *EditSubject;
    QLineEdit *EditFrom;
    QGroupBox *GroupBoxAuth;
    QLabel *LabelUserName;
    QLineEdit *EditUserName;
    QLabel *LabelPassword;
    QLineEdit *EditPassword;
    QCheckBox *CheckBoxAuth;

    // Report
    QGroupBox *GroupBoxRep;
    QCheckBox *CheckBoxRep;
    QCheckBox *CheckBoxRepAdd;
    QCheckBox *CheckBoxRepSize;
    QLineEdit *EditRepSize;
    QLabel *LabelRepKb;
    QPushButton *ButtonRep;
    QPushButton *ButtonRepDir;
    QGroupBox *GroupBoxRun;
    QCheckBox *CheckBoxRun;
    QCheckBox *CheckBoxRunAdd;
    QCheckBox *CheckBoxRunSize;
    QLineEdit *EditRunSize;
    QLabel *LabelRunKb;
    QPushButton *ButtonRun;
    QPushButton *ButtonRunDir;

    QPushButton *BitBtnTest;

    QLabel *LabelAbout;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;
    QPushButton *ButtonUse;

    TFormSetTime *FormSetTime;
    TFormRep *FormRep;
    smtpmail::TMailMessage Msg;
    smtpmail::TSmtpClient SMTP;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildSchedulePage();
    void buildOptionsPage();
    void buildArchivePage();
    void buildMailPage();
    void buildReportPage();
    void connectEnableRules();
    void connectButtons();

    void copySharedCaptions();
    void showControls(const TVorrinControls &controls);
    void showCopies();
    // Enables the controls that apply. Qt reports no click for a change made
    // in code, so this runs after every load as well as on the user's clicks.
    void ApplyEnableRules();
    // Choosing "Update" sets the volumes back to "None".
    void RadioButtonArcNewClick();
    void showFault(VorrinFault fault);

    void SelectNextPage();
    void ButtonOkClick();
    void ButtonUseClick();
    // Any change of a setting by the user makes Apply available.
    void EnableButUse();
    void BitBtnAddClick();
    void BitBtnEditClick();
    void BitBtnDelClick();
    void ButtonBrowseClick();
    void ButtonRepDirClick(QPushButton *button);
    void ButtonTempClick();
    void ButtonRunClick();
    void ShowReport(const QString &caption, const QString &fileName);
    void BitBtnTestClick();

    VorrinLoadContext m_context;
};

} // namespace zentavo
