#pragma once

#include <QString>

#include <atomic>
#include <initializer_list>

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

// Starts a program from a command line split as splitCommandLine() does,
// without a shell. Its standard input is the null device, so a program that
// reads input sees its end at once instead of hanging the run; its output goes
// to our own standard output and error rather than into memory. With wait, the
// call returns when the program ends or a stop flag is set; a program still
// running on a stop is asked to end and, failing that, killed, so that no
// program of a stopped run lives on unseen.
ProgramRun startProgram(const QString &commandLine, bool wait, StopFlags stopFlags = {});

} // namespace platform
