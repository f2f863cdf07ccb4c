#include "ProgramStarter.h"

#include "CommandLine.h"

#include <QProcess>
#include <QProcessEnvironment>

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

class ProcessStarter final : public ProgramStarter {
public:
    ProgramRun start(const ProgramRequest &request, StopFlags stopFlags) override
    {
        if (request.program.isEmpty())
            return ProgramRun::NotStarted;

        QProcess process;
        process.setProgram(request.program);
        process.setArguments(request.arguments);
        process.setStandardInputFile(QProcess::nullDevice());
        if (!request.workingFolder.isEmpty())
            process.setWorkingDirectory(request.workingFolder);
        if (!request.environment.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const QString &entry : request.environment)
                environment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
            process.setProcessEnvironment(environment);
        }
        if (!request.wait)
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
};

std::unique_ptr<ProgramStarter> &installed()
{
    static std::unique_ptr<ProgramStarter> starter;
    return starter;
}

} // namespace

ProgramStarter &programStarter()
{
    static ProcessStarter processes;
    ProgramStarter *starter = installed().get();
    return starter ? *starter : processes;
}

void setProgramStarter(std::unique_ptr<ProgramStarter> starter)
{
    installed() = std::move(starter);
}

ProgramRun startProgram(const QString &commandLine, bool wait, StopFlags stopFlags)
{
    QStringList parts = splitCommandLine(commandLine);
    if (parts.isEmpty() || parts.first().isEmpty())
        return ProgramRun::NotStarted;
    ProgramRequest request;
    request.program = parts.takeFirst();
    request.arguments = parts;
    request.wait = wait;
    return programStarter().start(request, stopFlags);
}

} // namespace platform
