#pragma once

#include "mail/MailMessage.h"
#include "mail/SmtpClient.h"
#include "settings/VorrinControls.h"
#include "settings/VorrinStore.h"

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

// The settings dialog of the main program and the scheduler. It edits a
// copy of the program's settings in its controls; a save writes the copy
// to the store and hands it back through settingsSaved, and closing it
// drops unsaved edits. Components carry the names the language file and the
// other programs know them by.
class TFormVorrin : public QDialog {
    Q_OBJECT

public:
    // Edits a copy of settings.
    TFormVorrin(const VorrinSettings &settings, QWidget *parent = nullptr,
                VorrinLoadContext context = VorrinLoadContext::current());
    // Edits the settings as stored.
    explicit TFormVorrin(QWidget *parent = nullptr, const VorrinLoadContext &context = VorrinLoadContext::current());

    // Shows a copy of settings in the controls, dropping unsaved edits.
    void Edit(const VorrinSettings &settings);
    // Shows the settings as stored (the creation handler; also the reload,
    // with any sender or none).
    void FormCreate(QObject *sender = nullptr);
    // Validates the controls and writes them to the store; False when the
    // input was refused (with a message) or the store could not be written.
    // Hands the saved settings back and tells the other programs.
    bool SaveSettings();

    // The copy as last shown or saved, with the folders picked since; the
    // other unsaved edits are in controls().
    const VorrinSettings &Settings() const { return m_settings; }
    // The current state of the controls, unsaved edits included.
    TVorrinControls controls() const;

    // Shows the report file of the report folder in the report viewer; also
    // the scheduler's "View report" command.
    void ButtonRepClick();

    // Every way of closing reloads the stored settings, so unsaved edits
    // are dropped.
    void done(int result) override;

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

signals:
    void settingsSaved(const zentavo::VorrinSettings &settings);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The pages of PageControl, in order.
    enum Page { SchedulePage = 0, OptionsPage = 1, ArchivePage = 2, MailPage = 3, ReportPage = 4 };

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
    VorrinSettings m_settings;
};

} // namespace zentavo
