#pragma once

#include "platform/FileLock.h"

#include <QString>

#include <functional>
#include <optional>

// The runs that write one report file at the same time, in one process or in
// several (a scheduled run and one started by hand share the report folder).
// Every run appends whole lines; only a run that finds no other run writing
// may empty or replace the file: the rotation at its start, the trim at its
// end. Two lock files beside the report tell it: the turn, held only while a
// run decides (so that two runs never decide at once), and the writers'
// lock, which every writing run holds shared and the rotation and the trim
// hold alone. Neither is held across another run's whole run, so no run
// waits for another to end.
class ReportShare {
public:
    enum class Company {
        Alone,  // no other run writes the report; the rotation ran
        Others, // another run writes it; this run appends to it
        Unknown // another run kept the turn too long; the report is appended to and never emptied or replaced
    };

    explicit ReportShare(const QString &reportPath) : m_report(reportPath) {}

    // Begins writing the report; rotate, when given, runs first when no
    // other run writes it, and no other run begins meanwhile. In a folder
    // where no lock works the report is rotated and trimmed as by a run
    // alone, as nothing can tell another run there.
    Company join(const std::function<void()> &rotate);

    // Ends writing the report; trim, when given, runs first when no other
    // run writes it any more.
    void leave(const std::function<void()> &trim);

    bool writing() const { return m_writing.has_value() || m_unlocked; }

    // The writers' lock file of a report.
    static QString writersLockName(const QString &reportPath);

private:
    QString m_report;
    std::optional<platform::FileLock> m_writing;
    bool m_unlocked = false; // joined where no lock works
};
