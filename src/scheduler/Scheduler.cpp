#include "Scheduler.h"

#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/ProgramStarter.h"
#include "platform/RegistryKey.h"
#include "report/ReportLines.h"
#include "scheduler/Journal.h"
#include "settings/VorrinStore.h"
#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"

#include <QTimer>

#include <memory>

namespace zentavo {

namespace {

const QString LastRunValue = QStringLiteral("LastRun");

std::unique_ptr<platform::RegistryKey> scheduleKey()
{
    return platform::RegistryKey::open(ScheduleKeyPath(), platform::RegistryKey::Mode::OpenExisting);
}

bool start(const QString &name, const QStringList &arguments, bool wait, const QStringList &environment = {},
           std::function<void()> onEnd = {}, QObject *onEndContext = nullptr)
{
    platform::ProgramRequest request;
    request.program = platform::siblingProgram(name);
    request.arguments = arguments;
    request.workingFolder = platform::programFolder();
    request.environment = environment;
    request.wait = wait;
    request.onEnd = std::move(onEnd);
    request.onEndContext = onEndContext;
    return platform::programStarter().start(request, {}) != platform::ProgramRun::NotStarted;
}

} // namespace

TScheduler::TScheduler(VorrinSettings settings) : m_settings(std::move(settings))
{
    if (const auto key = scheduleKey())
        m_lastRun = key->readString(LastRunValue).value_or(QString());
}

void TScheduler::TimerTimer()
{
    const QDateTime tick = platform::now();
    switch (ScheduledStartAt(tick, m_settings.Copies, m_state)) {
    case ScheduledStart::None: return;
    case ScheduledStart::HeldBack:
        // A main program left open after its run holds back every later
        // start; without a line the schedule would seem to have stopped.
        m_state.LastHeldBackMinute = StartMinute(tick);
        WriteJournal(m_settings.Copies, JournalLine(sRunHeldBack + u' ' + report::stamp(m_runStartedAt)), false);
        return;
    case ScheduledStart::Due:
        // One attempt per start minute: a second tick in it neither starts a
        // run that already ended nor retries one that failed.
        m_state.LastStartMinute = StartMinute(tick);
        StartRun();
        return;
    }
}

bool TScheduler::StartRun()
{
    if (!startZentavo({QStringLiteral("/run")}, m_settings.Copies.CheckBoxMinTag == 1))
        return false;
    m_lastRun = LastRunText(platform::now().date());
    if (const auto key = scheduleKey()) {
        key->writeString(LastRunValue, m_lastRun);
        // Without it "Once per day" starts again at the scheduler's next start.
        if (!key->flush())
            WriteJournal(m_settings.Copies, JournalLine(sLastRunError + u' ' + key->errorString()), false);
    }
    return true;
}

bool TScheduler::StartZentavo()
{
    return startZentavo({}, false);
}

bool TScheduler::startZentavo(const QStringList &arguments, bool minimised)
{
    const QStringList environment = minimised ? QStringList{EnvRunMinimized + QStringLiteral("=1")} : QStringList{};
    const quint64 run = ++m_runNumber;
    const auto ended = [this, run] { ZentavoProcessEnded(run); };
    if (!start(QStringLiteral("Zentavo"), arguments, false, environment, ended, &m_alive)) {
        m_state.RunActive = false;
        WriteJournal(m_settings.Copies, JournalLine(sRunZentavoError), true);
        WriteJournal(m_settings.Copies, QString(), false);
        return false;
    }
    m_state.RunActive = true;
    m_runStartedAt = platform::now();
    WriteJournal(m_settings.Copies, JournalLine(sRunZentavo, m_runStartedAt), true);
    return true;
}

bool TScheduler::StartEditor(bool wait)
{
    return start(QStringLiteral("Pelvaro"), {}, wait);
}

void TScheduler::RunZentavoEnded()
{
    if (!m_state.RunActive)
        return;
    m_state.RunActive = false;
    WriteJournal(m_settings.Copies, JournalLine(sEndZentavo), false);
    WriteJournal(m_settings.Copies, QString(), false);
}

void TScheduler::ZentavoProcessEnded(quint64 run)
{
    // The end message it posted as its window closed may still be on its
    // way; only a run still under way after that ended abnormally.
    QTimer::singleShot(EndMessageGraceMs, &m_alive, [this, run] {
        if (!m_state.RunActive || run != m_runNumber)
            return;
        m_state.RunActive = false;
        const QString line = JournalLine(sRunZentavoError + QStringLiteral(": ended without reporting its end"));
        WriteJournal(m_settings.Copies, line, false);
        WriteJournal(m_settings.Copies, QString(), false);
    });
}

void TScheduler::StartupRun()
{
    const auto key = scheduleKey();
    if (!key)
        return;
    const std::optional<int> runOnce = key->readInteger(QStringLiteral("RunOnce"));
    const QDate today = platform::now().date();
    if (!IsStartupRunDue(today, m_settings.Copies.DayOfWeek1Tag, runOnce, m_lastRun))
        return;
    StartRun();
}

} // namespace zentavo
