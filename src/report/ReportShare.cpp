#include "ReportShare.h"

#include "platform/FileWriteLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>

namespace {

using platform::FileLock;

// The turn is held for a rotation or a trim, which copy or rewrite the
// report once; a run that keeps it longer is stuck, and the waiting run
// then only appends.
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
    if (!held(turn))
        return Company::Unknown;
    const QString writers = writersLockName(m_report);
    Company company = Company::Unknown;
    {
        const FileLock sole(writers, FileLock::Wait::No, FileLock::Kind::Exclusive);
        switch (sole.state()) {
        case FileLock::State::Held:
            company = Company::Alone;
            if (rotate)
                rotate();
            break;
        case FileLock::State::HeldElsewhere: company = Company::Others; break;
        case FileLock::State::Failed: return Company::Unknown;
        }
    }
    // Nobody holds the writers' lock alone without the turn, so the shared
    // lock is had at once.
    m_writing.emplace(writers, FileLock::Wait::No, FileLock::Kind::Shared);
    if (m_writing->state() != FileLock::State::Held)
        m_writing.reset();
    return company;
}

void ReportShare::leave(const std::function<void()> &trim)
{
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
