#include "ProgramStarter.h"

#include "CommandLine.h"

#include <QProcess>

#include <algorithm>

namespace platform {

namespace {

// How often a wait looks at the stop flags, and how long a program asked to
// end gets before it is killed.
constexpr int StopPollMs = 100;
constexpr int StartTimeoutMs = 30000;
constexpr int EndGraceMs = 3000;

bool anySet(StopFlags flags)
{
    return std::any_of(flags.begin(), flags.end(), [](const std::atomic<bool> *flag) {
        return flag && flag->load();
    });
}

void endProgram(QProcess &process)
{
    process.terminate();
    if (process.waitForFinished(EndGraceMs))
        return;
    process.kill();
    process.waitForFinished(EndGraceMs);
}

} // namespace

ProgramRun startProgram(const QString &commandLine, bool wait, StopFlags stopFlags)
{
    QStringList parts = splitCommandLine(commandLine);
    if (parts.isEmpty() || parts.first().isEmpty())
        return ProgramRun::NotStarted;

    QProcess process;
    process.setProgram(parts.takeFirst());
    process.setArguments(parts);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!wait)
        return process.startDetached() ? ProgramRun::Started : ProgramRun::NotStarted;

    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
    if (!process.waitForStarted(StartTimeoutMs))
        return ProgramRun::NotStarted;
    while (!process.waitForFinished(StopPollMs)) {
        if (process.state() == QProcess::NotRunning)
            break;
        if (anySet(stopFlags)) {
            endProgram(process);
            return ProgramRun::Stopped;
        }
    }
    return ProgramRun::Finished;
}

} // namespace platform
