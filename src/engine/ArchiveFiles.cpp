#include "ArchiveFiles.h"

#include "platform/FileWriteLock.h"
#include "platform/FolderWalk.h"
#include "platform/Paths.h"
#include "shared/ConstStr.h"

#include <QFileInfo>

using namespace zentavo;

namespace {

// As long as a run's archiver waits for another writer of its archive.
constexpr std::chrono::seconds WriterWait(10);

// A copy taken while another run rewrites the archive would be cut or
// mixed: the copy holds the archive's lock, as its writers do. Where no
// lock file can be had at all (media that cannot be written) nobody writes
// the archive either. False, told to the scope, when another run kept it.
bool lockedForCopy(const platform::FileWriteLock &lock, const QString &shown, const FileCommandScope &scope)
{
    if (lock.state() != platform::FileWriteLock::State::InUse)
        return true;
    if (scope.failure)
        scope.failure(sArchiveBusy + u' ' + shown);
    return false;
}

} // namespace

ArchiveFiles::ArchiveFiles(QString name, const zavolumes::Naming &naming) : m_name(std::move(name)), m_naming(naming)
{
}

QString ArchiveFiles::Shown() const
{
    if (m_naming.mode != smSplitting)
        return m_name;
    // A self-extracting set begins with its ".exe".
    const bool selfExtracting = m_naming.selfExtracting || zavolumes::IsExeName(m_name);
    return platform::changeFileExt(m_name, selfExtracting ? QStringLiteral(".*") : QStringLiteral(".z*"));
}

QList<zavolumes::VolumeFile> ArchiveFiles::OnDisk() const
{
    QList<zavolumes::VolumeFile> files = zavolumes::VolumeFilesOnDisk(m_name, m_naming);
    // The archiver wrote them where the name points; the file commands
    // would look for a bare name in the job's folder.
    for (zavolumes::VolumeFile &file : files)
        file.path = QFileInfo(file.path).absoluteFilePath();
    return files;
}

QDate ArchiveFiles::NewestDay() const
{
    QDate newest;
    for (const zavolumes::VolumeFile &file : OnDisk()) {
        const std::optional<platform::FolderEntry> entry = platform::entryAt(file.path);
        if (entry && (!newest.isValid() || entry->modified.date() > newest))
            newest = entry->modified.date();
    }
    return newest;
}

bool ArchiveFiles::CopyTo(const QString &folder, const FileCommandScope &scope) const
{
    const platform::FileWriteLock lock(m_name, WriterWait);
    if (!lockedForCopy(lock, Shown(), scope))
        return false;
    const QList<zavolumes::VolumeFile> files = OnDisk();
    bool done = !files.isEmpty();
    for (const zavolumes::VolumeFile &file : files)
        done = CopyFiles(file.path, folder, false, nullptr, scope) && done;
    return done;
}

bool ArchiveFiles::TransferTo(const QString &to, bool move, const FileCommandScope &scope) const
{
    const platform::FileWriteLock lock(m_name, WriterWait);
    if (!lockedForCopy(lock, Shown(), scope))
        return false;
    const QList<zavolumes::VolumeFile> files = OnDisk();
    bool done = !files.isEmpty();
    for (const zavolumes::VolumeFile &file : files) {
        const QString target = zavolumes::GetVolumeFileName(to, file.index, m_naming);
        done = (move ? MoveFiles(file.path, target, false, nullptr, scope)
                     : CopyFiles(file.path, target, false, nullptr, scope))
            && done;
    }
    return done;
}

bool ArchiveFiles::Delete(const FileCommandScope &scope) const
{
    bool done = true;
    for (const zavolumes::VolumeFile &file : OnDisk())
        done = DeleteFiles(file.path, false, nullptr, scope) && done;
    return done;
}
