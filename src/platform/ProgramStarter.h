#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <memory>

namespace platform {

// The run's stop flags; a wait for a started program ends as soon as any of
// them is set.
using StopFlags = std::initializer_list<const std::atomic<bool> *>;

enum class ProgramRun {
    NotStarted, // the program could not be started (missing, not executable)
    Started,    // started and not waited for
    Finished,   // started and ended while we waited
    Stopped,    // started; a stop flag ended the wait and the program was ended
};

// A program to start: its arguments go to it as they are, with no shell.
struct ProgramRequest {
    QString program;
    QStringList arguments;
    QString workingFolder;   // empty: ours
    QStringList environment; // "NAME=value" entries added to ours
    bool wait = false;
    // While waiting, the calling thread's events go on being handled, so
    // that the windows of a GUI thread stay painted; the caller keeps its
    // windows from taking input meanwhile.
    bool processEvents = false;
    // For a program not waited for: called on the starting thread once it
    // has ended, however it ended (on Linux; elsewhere never), unless
    // onEndContext, which onEnd needs, was destroyed first: the watch for
    // the end goes with it, so a program outliving its starter leaves
    // nothing behind.
    std::function<void()> onEnd;
    QObject *onEndContext = nullptr;
};

// Starts programs, behind an interface so that tests record what would have
// been started (the scheduler's main job) instead of starting it. Standard
// input is the null device, so a program that reads input sees its end at
// once instead of hanging a run; its output goes to our own standard output
// and error rather than into memory. With wait, the call returns when the
// program ends or a stop flag is set; a program still running on a stop is
// asked to end and, failing that, killed, so that no program of a stopped
// run lives on unseen.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    virtual ProgramRun start(const ProgramRequest &request, StopFlags stopFlags) = 0;
};

// The starter in use: the one that starts real processes until a test
// installs another.
ProgramStarter &programStarter();
// Installs a starter; nullptr goes back to the real one.
void setProgramStarter(std::unique_ptr<ProgramStarter> starter);

// Starts a command line split as splitCommandLine() does; the request gives
// the rest (its program and arguments are those of the command line).
ProgramRun startProgram(const QString &commandLine, ProgramRequest request, StopFlags stopFlags = {});
ProgramRun startProgram(const QString &commandLine, bool wait, StopFlags stopFlags = {});

} // namespace platform
