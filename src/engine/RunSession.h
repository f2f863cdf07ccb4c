#pragma once

#include "engine/EndOfRun.h"
#include "engine/ReportMail.h"
#include "engine/RunControl.h"
#include "engine/RunView.h"
#include "mail/MailMessage.h"
#include "mail/SmtpClient.h"
#include "platform/Clock.h"

#include <QStringList>

#include <functional>
#include <memory>

// What only the window showing the runs can do when an automatic run ends.
class RunEndWindow {
public:
    virtual ~RunEndWindow() = default;
    // Prints the lines without a dialog; False when nothing was printed.
    virtual bool printReport(const QStringList &lines) = 0;
    virtual void closeWindow() = 0;
};

// The main program's runs, one after the other: the run under way, the
// report lines of the last one (or of a report read back from its file), its
// result, and the steps that end an automatic run. It lives on the GUI
// thread and shows everything on the display it is given, which only shows.
class RunSession final : public RunView {
public:
    // Carries the worker's calls over to the session's thread, in order.
    // Without one the worker calls the session directly.
    using WorkerViewFactory = std::function<std::unique_ptr<RunView>(RunView &session)>;

    // productTitle names the program in the report mail.
    RunSession(RunView &display, RunEndWindow &window, QString productTitle, const WorkerViewFactory &workerView = {});
    ~RunSession() override;
    RunSession(const RunSession &) = delete;
    RunSession &operator=(const RunSession &) = delete;

    TRunControl &Runs() { return *m_runs; }

    const QStringList &ReportLines() const { return m_lines; }
    void ClearReport() { m_lines.clear(); }
    // A report read back from its file takes the place of the run's lines.
    void LoadReport(QStringList lines) { m_lines = std::move(lines); }

    // A line the next run's report opens with (start-up problems an
    // automatic run has no window to show).
    void AddStartNotice(const QString &line) { m_startNotices << line; }

    // The next run is asked for now: it starts from this moment, and the
    // elapsed time and the start dialog's countdown count from it.
    void RequestRun() { m_runTime = platform::now(); }
    const QDateTime &RunTime() const { return m_runTime; }

    // False while a run is under way or the last one is still being finished.
    bool CanStart() const;
    // The program's exit status: 0 when every run so far ended "Ok!", 1 when
    // a job failed, 2 when an automatic run could not start.
    static constexpr int ExitJobFailed = 1;
    static constexpr int ExitNotStarted = 2;
    int ExitStatus() const { return m_exitStatus; }
    // The automatic run is given up before it started (its job file could
    // not be read): the program ends as one whose run did not start.
    void CancelAutoRun();
    // Starts a run over copies of the jobs and settings, from the moment it
    // was asked for, with the start notices; the notices go with the first
    // run that starts.
    bool Start(zentavo::TBlocks jobs, RunSettings settings, const QString &jobFileName);

    // True once for a run that has ended; Result() is its outcome from then.
    bool TakeEndedRun();
    // The highest job status of the last run that ended (0 ok, 1 error, 2 fatal).
    int Result() const { return m_result; }
    // Finishes the ended run; after an automatic run that closes the
    // program it prints, mails (with the mail settings given), powers off and
    // closes, as the run's settings say.
    void FinishRun(const ReportMailSettings &mail);
    // A report mail waiting for its server ends now, with its report lines.
    void AbortMail() { m_smtp.AbortSession(); }

    // RunView, on the GUI thread: the report lines are kept, everything is shown.
    void addReportLine(const QString &line) override;
    void runStarting() override { m_display.runStarting(); }
    void showJob(const QString &title, int number, int count) override { m_display.showJob(title, number, count); }
    void showArchiveProgress(int percent, const QString &title) override
    {
        m_display.showArchiveProgress(percent, title);
    }
    void setFileGauge(int percent) override { m_display.setFileGauge(percent); }
    void runEnded() override { m_display.runEnded(); }
    void showText(const QString &text) override { m_display.showText(text); }
    void setGaugeMaximum(qint64 bytes) override { m_display.setGaugeMaximum(bytes); }
    void setGaugePosition(qint64 bytes) override { m_display.setGaugePosition(bytes); }

private:
    class EndSteps;

    RunView &m_display;
    RunEndWindow &m_window;
    QString m_productTitle;
    QStringList m_lines;
    QStringList m_startNotices;
    QDateTime m_runTime = platform::now();
    int m_result = 0;
    int m_exitStatus = 0;
    smtpmail::TMailMessage m_mailMessage;
    smtpmail::TSmtpClient m_smtp;
    std::unique_ptr<RunView> m_workerView;
    // Last: the worker ends before anything it writes to goes.
    std::unique_ptr<TRunControl> m_runs;
};
