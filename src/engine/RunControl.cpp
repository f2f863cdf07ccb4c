#include "RunControl.h"

#include "report/ReportLines.h"
#include "shared/Common.h"
#include "shared/ConstStr.h"

#include <QCoreApplication>

using namespace zentavo;

namespace {
constexpr int WorkerEndWaitMs = 5000;
}

TRunControl::TRunControl(RunView &view) : m_view(view), m_report(view)
{
}

TRunControl::~TRunControl()
{
    if (WorkerRunning()) {
        // The program ends under a run: stop it rather than leave a thread
        // writing into freed objects.
        m_state.stop(true);
        m_worker->wait();
    }
}

bool TRunControl::StartRun(TBlocks blocks, RunSettings settings, RunContext context)
{
    if (WorkerRunning() || m_state.RunBusy())
        return false;
    m_worker.reset();
    m_brokenBlock = -1;
    m_state.prepareWorker();
    m_worker = std::make_unique<TMyThread>(std::move(blocks), std::move(settings), std::move(context), m_state, m_view,
                                           m_report);
    m_worker->start();
    return true;
}

void TRunControl::WaitForWorker()
{
    while (m_worker && !m_worker->wait(QDeadlineTimer(50)))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

void TRunControl::Break(bool stopCopy, const std::function<void()> &afterClose)
{
    m_state.stop(stopCopy);
    WaitForWorker();
    m_state.withdraw();
    // A worker stopped at a test point leaves the run busy; one that had
    // passed its last test point finished the run, whose report is complete.
    if (!m_state.RunBusy())
        return;

    m_report.AddRep(report::timed(sUserBroke));
    m_report.AddRep(report::Separator);
    m_report.AddRep(report::timed(sEndProcess));
    m_report.AddRep(QString());
    if (m_worker)
        m_brokenBlock = m_worker->Engine().BlockIndex();
    m_report.file().close();
    if (afterClose)
        afterClose();
    const RunSettings settings = Settings();
    if (!m_report.file().finish(settings.CheckBoxRep ? settings.EditRepSize : 0))
        m_report.AddRep(sWriteError + u' ' + m_report.file().path());
    m_state.brokeOff();
}

bool TRunControl::TakeEndedRun()
{
    if (!m_worker || !m_state.takeEnded())
        return false;
    // The worker has made its last call; it only has to return, and a run
    // started from the end handling must not find it still running.
    m_worker->wait(QDeadlineTimer(WorkerEndWaitMs));
    return true;
}

int TRunControl::OverallResult() const
{
    int result = StatusOk;
    for (const quint8 status : EnabledStatuses())
        result = std::max<int>(result, status);
    return result;
}

std::vector<quint8> TRunControl::EnabledStatuses() const
{
    std::vector<quint8> statuses;
    if (!m_worker)
        return statuses;
    const TBlocks &blocks = m_worker->Engine().Blocks();
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (!blocks[i].GetFlag(Enabled))
            continue;
        statuses.push_back(int(i) == m_brokenBlock ? quint8(StatusFatal) : blocks[i].GetFlag(Status));
    }
    return statuses;
}

RunSettings TRunControl::Settings() const
{
    return m_worker ? m_worker->Engine().Settings() : RunSettings{};
}
