#include "ReportFile.h"

#include "FileTransfer.h"
#include "Paths.h"
#include "SafeSave.h"

bool ReportFile::start(const QString &folder, bool append)
{
    close();
    m_path = platform::fileInFolder(folder, FileName);
    const QString backup = platform::fileInFolder(folder, BackupName);
    const bool previous = QFile::exists(m_path);
    // The older backup goes only when a complete copy replaces it.
    bool backupSaved = previous && platform::copyFile(m_path, backup);
    // A report about to be emptied is never lost: when there is no room
    // for its copy it becomes the backup by a rename, which needs none;
    // failing that, the new run is added after it instead.
    if (previous && !backupSaved && !append && platform::moveFile(m_path, backup)) {
        platform::syncFolder(folder);
        backupSaved = true;
    }
    const bool keepOld = previous && !backupSaved && QFile::exists(m_path);

    const QIODevice::OpenMode add = QIODevice::WriteOnly | QIODevice::Append;
    const QIODevice::OpenMode rewrite = QIODevice::WriteOnly | QIODevice::Truncate;
    if (!open(append || keepOld ? add : rewrite) && !keepOld)
        open(rewrite);
    return backupSaved;
}

void ReportFile::reopenForAppend()
{
    close();
    if (!m_path.isEmpty())
        open(QIODevice::WriteOnly | QIODevice::Append);
}

bool ReportFile::open(QIODevice::OpenMode mode)
{
    // Unbuffered: each line reaches the file as it is added, so a run that
    // is killed leaves its report up to its last line and tail -f follows it.
    auto file = std::make_unique<QFile>(m_path);
    if (!file->open(mode | QIODevice::Unbuffered))
        return false;
    m_file = std::move(file);
    return true;
}

void ReportFile::write(const QString &line)
{
    if (!m_file)
        return;
    const QByteArray bytes = line.toUtf8() + "\r\n";
    if (m_file->write(bytes) != bytes.size())
        m_file.reset();
}

void ReportFile::close()
{
    if (m_file)
        platform::syncFile(*m_file);
    m_file.reset();
}

bool CheckRepSize(const QString &path, int limitKb)
{
    if (limitKb <= 0)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const qint64 limit = qint64(limitKb) * 1024;
    if (file.size() <= limit)
        return true;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    file.close();

    // Drop as few whole lines from the top as bring it within the limit.
    qsizetype cut = 0;
    while (content.size() - cut > limit) {
        const qsizetype lineEnd = content.indexOf('\n', cut);
        cut = lineEnd < 0 ? content.size() : lineEnd + 1;
    }
    return platform::saveFile(path, QByteArrayView(content).sliced(cut));
}
