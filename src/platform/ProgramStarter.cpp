#include "ProgramStarter.h"

#include "platform/CommandLine.h"
#include "platform/InstalledService.h"

#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

// How often a wait looks at the stop flags, and how long a program asked to
// end gets before it is killed.
constexpr int StopPollMs = 100;
constexpr int StartTimeoutMs = 30000;
constexpr int EndGraceMs = 3000;

bool anySet(StopFlags flags)
{
    return std::any_of(flags.begin(), flags.end(), [](const std::atomic<bool> *flag) { return flag && flag->load(); });
}

#ifdef Q_OS_LINUX
// Tells when a process that is not our child has ended: its pidfd becomes
// readable then. Deletes itself after telling, or goes with its context.
class EndWatch final : public QObject {
public:
    EndWatch(QObject *context, int pidFd, std::function<void()> ended)
        : QObject(context)
        , m_fd(pidFd)
        , m_notifier(pidFd, QSocketNotifier::Read, this)
        , m_ended(std::move(ended))
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, [this] {
            m_notifier.setEnabled(false);
            m_ended();
            deleteLater();
        });
    }
    ~EndWatch() override { ::close(m_fd); }

private:
    int m_fd;
    QSocketNotifier m_notifier;
    std::function<void()> m_ended;
};
#endif

void watchEnd(qint64 pid, QObject *context, const std::function<void()> &ended)
{
#ifdef Q_OS_LINUX
    const int fd = int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
    if (fd < 0) {
        // Gone already (or no pidfds): tell it from the event loop, as a watch would.
        QTimer::singleShot(0, context, ended);
        return;
    }
    new EndWatch(context, fd, ended);
#else
    Q_UNUSED(pid);
    Q_UNUSED(context);
    Q_UNUSED(ended);
#endif
}

void endProgram(QProcess &process)
{
    process.terminate();
    if (process.waitForFinished(EndGraceMs))
        return;
    process.kill();
    process.waitForFinished(EndGraceMs);
}

// Waits for the program's end in an event loop of our own; True when a stop
// flag ended the wait first.
bool waitHandlingEvents(QProcess &process, StopFlags stopFlags)
{
    QEventLoop loop;
    bool stopped = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        stopped = anySet(stopFlags);
        if (stopped || process.state() == QProcess::NotRunning)
            loop.quit();
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    poll.start(StopPollMs);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    return stopped;
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
        if (!request.wait) {
            qint64 pid = 0;
            if (!process.startDetached(&pid))
                return ProgramRun::NotStarted;
            if (request.onEnd && request.onEndContext)
                watchEnd(pid, request.onEndContext, request.onEnd);
            return ProgramRun::Started;
        }

        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start();
        if (!process.waitForStarted(StartTimeoutMs))
            return ProgramRun::NotStarted;
        if (request.processEvents && waitHandlingEvents(process, stopFlags)) {
            endProgram(process);
            return ProgramRun::Stopped;
        }
        // Also after an event loop that ended early (the application quits):
        // the program is waited for, not killed with its QProcess.
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

using Installed = InstalledService<ProgramStarter, ProcessStarter>;

} // namespace

ProgramStarter &programStarter()
{
    return Installed::current();
}

void setProgramStarter(std::unique_ptr<ProgramStarter> starter)
{
    Installed::install(std::move(starter));
}

ProgramRun startProgram(const QString &commandLine, ProgramRequest request, StopFlags stopFlags)
{
    QStringList parts = splitCommandLine(commandLine);
    if (parts.isEmpty() || parts.first().isEmpty())
        return ProgramRun::NotStarted;
    request.program = parts.takeFirst();
    request.arguments = parts;
    return programStarter().start(request, stopFlags);
}

ProgramRun startProgram(const QString &commandLine, bool wait, StopFlags stopFlags)
{
    ProgramRequest request;
    request.wait = wait;
    return startProgram(commandLine, request, stopFlags);
}

} // namespace platform
