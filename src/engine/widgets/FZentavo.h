#pragma once

#include "engine/CommandLineSwitches.h"
#include "engine/JobDocument.h"
#include "engine/RunSession.h"
#include "engine/RunView.h"
#include "engine/ZentavoSettings.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPrinter;
class QProgressBar;
class QPushButton;
class QTimer;

namespace platform {
class MessageWindow;
}

namespace zentavo {

class TFormRep;

// The main program's window: the job file in use, the job being run, the
// run's report, progress and the commands; it starts runs, stops them on
// request and finishes every run, after an automatic one with the
// configured end-of-run actions. It shows its run session: the worker's
// calls reach the session on the GUI thread through a QueuedRunView.
class TFormZentavo final : public QMainWindow, public RunView {
    Q_OBJECT
public:
    // Reads the stored settings afresh; a copy it cannot read keeps what
    // previous held.
    using SettingsLoader = std::function<VorrinSettings(const VorrinSettings &previous)>;

    // stored is what the store holds, which the settings dialog edits;
    // settings are what the window works with: stored with the command
    // line's switches over it. loadSettings reads the store afresh (at a
    // settings-changed message); start is the program's command line as
    // start-up read it.
    TFormZentavo(VorrinSettings stored, ZentavoSettings settings, SettingsLoader loadSettings,
                 const QString &productTitle, StartRequest start = {});
    ~TFormZentavo() override;

    ZentavoSettings &Settings() { return m_settings; }
    RunSession &Session() { return *m_session; }
    TRunControl &Runs() { return m_session->Runs(); }
    TFormRep &FormRep() { return *m_formRep; }
    // The job file the window shows and runs.
    JobDocument &Document() { return m_document; }
    // The printer the job description is printed on.
    QPrinter &JobPrinter() { return *m_jobPrinter; }
    const QStringList &ReportLines() const { return m_session->ReportLines(); }

    // The show handler; start-up calls it once more after the switches.
    void FormShow();
    // Every second: the elapsed time, and the end of a run.
    void TimerTimer();
    // Exit button: stops a run after a question, else closes.
    void BitBtnCancelClick();
    // Starts a run of the loaded jobs unless one is under way.
    void TBFRunClick();
    // A worker for the run start-up asked for; it ends at once without one.
    // The run takes the job file, its start and the start notices with it.
    void StartWorker();
    void TBFOpenClick();
    void TBFEditClick();
    void TBRLoadClick();
    void RPrintClick();
    // The settings-changed message of the suite; wParam 1 also re-reads the
    // default job file.
    void UpdateVorrin(quint64 wParam);
    // The automatic run the command line asked for is set now; the first
    // show, which must start nothing, has passed.
    void ArmAutoRun() { Runs().State().armAutoRun(m_start.AutoRun); }
    // Makes the file the document's and reads it (see ReadJobFile).
    bool OpenJobFile(const QString &path, bool cancelAutoRun, const QString &errorTitle = {});
    // Reads the settings afresh; the switches of the command line are gone then.
    void ReloadSettings();
    // An automatic run that was to close the program found no jobs to run.
    bool LoadFailedUnattended() const { return m_loadFailedUnattended; }

    // The program's exit status: 0 when every run ended with every enabled
    // job ok, 1 when a job of a run failed, 2 when an automatic run could
    // not start.
    static constexpr int ExitNotStarted = RunSession::ExitNotStarted;
    int ExitStatus() const { return m_session->ExitStatus(); }

    QPushButton *BitBtnCancel = nullptr;
    QListWidget *ListBoxRep = nullptr;
    QLabel *LabelNameFile = nullptr;
    QLabel *LabelNameJob = nullptr;
    QLabel *LabelFiles = nullptr;
    QAction *FRun = nullptr;
    QAction *FPrint = nullptr;
    QAction *RPrint = nullptr;

    // RunView, on the GUI thread.
    void addReportLine(const QString &line) override;
    void runStarting() override;
    void showJob(const QString &title, int number, int count) override;
    void showArchiveProgress(int percent, const QString &title) override;
    void setFileGauge(int percent) override;
    void runEnded() override;
    void showText(const QString &text) override;
    void setGaugeMaximum(qint64 bytes) override;
    void setGaugePosition(qint64 bytes) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    class EndActions;

    void FormCreate();
    void createMenus();
    void createControls();
    // The close query: False when the user keeps a run going.
    bool FormCloseQuery();
    // Holds the run and asks whether to stop it. No lets it go on (False);
    // Yes stops it as TRunControl::Break does.
    bool confirmBreak(bool stopCopy, const std::function<void()> &afterClose = {});
    void FormClose();
    void TBFPrintClick();
    // The settings dialog edits a copy of the stored settings and hands the
    // saved ones back.
    void OptionsMenuClick();
    void takeSettings(const VorrinSettings &stored);
    void HDocClick();
    // The product's web page in the desktop's browser.
    void HUpdateClick();
    void HAboutClick();
    // Reads the document's file into its jobs and shows the outcome: the file's name
    // or "Not loaded!", the job count, Run and Print enabled when the file
    // could be read (also without jobs). A file that cannot be read is a
    // message (titled errorTitle, else the caption) and, with cancelAutoRun,
    // cancels an automatic run. False without jobs.
    bool ReadJobFile(bool cancelAutoRun, const QString &errorTitle = {});
    void setCommandsEnabled(bool enabled);
    void showResult(int result);
    void showElapsed();

    VorrinSettings m_stored;
    ZentavoSettings m_settings;
    JobDocument m_document;
    SettingsLoader m_loadSettings;
    QString m_productTitle;
    StartRequest m_start;
    std::unique_ptr<EndActions> m_endActions;
    std::unique_ptr<RunSession> m_session;
    std::unique_ptr<TFormRep> m_formRep;
    std::unique_ptr<QPrinter> m_jobPrinter;
    // Where the suite's messages reach the window (by its caption).
    std::unique_ptr<platform::MessageWindow> m_messages;
    bool m_shown = false;
    bool m_jobFileRead = false;
    bool m_loadFailedUnattended = false;
    // The editor runs: the window is painted but takes no input and stays open.
    bool m_waitingForEditor = false;
    // The job file a reload named during a run; read when the run ends.
    std::optional<QString> m_pendingJobFile;

    QMenu *FileMenu = nullptr;
    QMenu *ReportMenu = nullptr;
    QAction *OptionsMenu = nullptr;
    QMenu *HelpMenu = nullptr;
    QList<QAction *> m_commands;
    QLabel *LabelFile = nullptr;
    QLabel *LabelJob = nullptr;
    QGroupBox *GroupBoxRep = nullptr;
    QProgressBar *GaugeFile = nullptr;
    QProgressBar *Gauge = nullptr;
    QLabel *StatusPanel[3] = {};
    QTimer *Timer = nullptr;
    qint64 m_gaugeMaximum = 100;
};

} // namespace zentavo
