#include "RunSession.h"

#include "shared/ZetuUnit.h"

// The end of an automatic run: the session mails and powers off, the window
// prints and closes.
class RunSession::EndSteps final : public EndOfRunActions {
public:
    EndSteps(RunSession &session, const ReportMailSettings &mail) : m_session(session), m_mail(mail) {}
    bool printReport(const QStringList &lines) override { return m_session.m_window.printReport(lines); }
    void mailReport(const QStringList &lines, int overallResult) override
    {
        SendRep(lines, overallResult, m_mail, m_session.m_productTitle, m_session.m_mailMessage, m_session.m_smtp,
                m_session.m_runs->Report());
    }
    void powerOff() override { zentavo::PowerOffComputer(); }
    void closeWindow() override { m_session.m_window.closeWindow(); }

private:
    RunSession &m_session;
    const ReportMailSettings &m_mail;
};

RunSession::RunSession(RunView &display, RunEndWindow &window, QString productTitle,
                       const WorkerViewFactory &workerView)
    : m_display(display)
    , m_window(window)
    , m_productTitle(std::move(productTitle))
    , m_workerView(workerView ? workerView(*this) : nullptr)
    , m_runs(std::make_unique<TRunControl>(m_workerView ? *m_workerView : static_cast<RunView &>(*this)))
{
}

RunSession::~RunSession()
{
    m_runs.reset();
}

bool RunSession::CanStart() const
{
    return !m_runs->State().finishing() && !m_runs->WorkerRunning() && !m_runs->State().RunBusy();
}

void RunSession::CancelAutoRun()
{
    RunState &state = m_runs->State();
    if (state.AutoRun())
        m_exitStatus = std::max(m_exitStatus, ExitNotStarted);
    state.dropAutoRun();
}

bool RunSession::Start(zentavo::TBlocks jobs, RunSettings settings, const QString &jobFileName)
{
    if (m_runs->State().finishing())
        return false;
    const bool started
        = m_runs->StartRun(std::move(jobs), std::move(settings), RunContext{jobFileName, m_runTime, m_startNotices});
    if (started)
        m_startNotices.clear();
    return started;
}

bool RunSession::TakeEndedRun()
{
    if (!m_runs->TakeEndedRun())
        return false;
    m_result = m_runs->OverallResult();
    if (m_result != zentavo::StatusOk)
        m_exitStatus = std::max(m_exitStatus, ExitJobFailed);
    return true;
}

void RunSession::FinishRun(const ReportMailSettings &mail)
{
    FinishedRun run;
    run.reportLines = m_lines;
    run.enabledStatuses = m_runs->EnabledStatuses();
    run.overallResult = m_result;
    run.settings = m_runs->Settings();
    run.autoRun = m_runs->State().AutoRun();
    // No second run may start while the report is printed and mailed: the
    // run stays finishing until then.
    m_runs->State().beginFinishing();
    EndSteps steps(*this, mail);
    FinishAutomaticRun(run, steps);
    m_runs->State().finished();
}

void RunSession::addReportLine(const QString &line)
{
    m_lines << line;
    m_display.addReportLine(line);
}
