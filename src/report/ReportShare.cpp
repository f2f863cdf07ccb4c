#include "ReportShare.h"

#include "platform/FileWriteLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <utility>

namespace {

using platform::FileLock;

// The turn is held for a rotation or a trim, which copy or rewrite the
// report once; a run that keeps it longer is stuck, and the waiting run
// then only appends (and leaves the trim to others).
constexpr std::chrono::seconds TurnWait(30);

bool held(const platform::FileWriteLock &turn)
{
    return turn.state() == platform::FileWriteLock::State::Held;
}

} // namespace

QString ReportShare::writersLockName(const QString &reportPath)
{
    const QFileInfo info(reportPath);
    return info.absoluteDir().filePath(u'.' + info.fileName() + QStringLiteral(".writers"));
}

ReportShare::Company ReportShare::join(const std::function<void()> &rotate)
{
    const platform::FileWriteLock turn(m_report, TurnWait);
    if (turn.state() == platform::FileWriteLock::State::InUse)
        return Company::Unknown;
    const QString writers = writersLockName(m_report);
    Company company = Company::Alone;
    {
        const FileLock sole(writers, FileLock::Wait::No, FileLock::Kind::Exclusive);
        if (!held(turn) || sole.state() == FileLock::State::Failed) {
            // No lock works in this folder, so no run can share the report
            // safely there: it is kept as by a run alone.
            m_unlocked = true;
        } else if (sole.state() == FileLock::State::HeldElsewhere) {
            company = Company::Others;
        }
        if (company == Company::Alone && rotate)
            rotate();
    }
    if (m_unlocked)
        return company;
    // Nobody holds the writers' lock alone without the turn, so the shared
    // lock is had at once.
    m_writing.emplace(writers, FileLock::Wait::No, FileLock::Kind::Shared);
    if (m_writing->state() != FileLock::State::Held)
        m_writing.reset();
    return company;
}

void ReportShare::leave(const std::function<void()> &trim)
{
    if (std::exchange(m_unlocked, false)) {
        if (trim)
            trim();
        return;
    }
    if (!m_writing)
        return;
    const platform::FileWriteLock turn(m_report, TurnWait);
    m_writing.reset();
    if (!held(turn))
        return;
    const QString writers = writersLockName(m_report);
    const FileLock sole(writers, FileLock::Wait::No, FileLock::Kind::Exclusive);
    if (sole.state() != FileLock::State::Held)
        return;
    if (trim)
        trim();
    // Every run opens the writers' lock only while it holds the turn, so
    // the last writer may take the file away.
    QFile::remove(writers);
}
