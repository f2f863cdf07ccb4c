#include "ReportFile.h"

#include "platform/FileNames.h"
#include "platform/FileTransfer.h"
#include "platform/Paths.h"
#include "platform/SafeSave.h"

#include <QDir>

namespace {

// A report stands as the backup only when it holds lines and its last line
// was written whole: a run whose writing failed leaves it without the final
// line end (see markCutOff).
bool isWholeReport(const QString &path)
{
    QFile file;
    if (!platform::openFile(file, path, QIODevice::ReadOnly) || file.size() == 0 || !file.seek(file.size() - 1))
        return false;
    char last = 0;
    return file.getChar(&last) && last == '\n';
}

} // namespace

bool ReportFile::start(const QString &folder, bool append)
{
    finish(0);
    m_cutOff = false;
    m_path = platform::fileInFolder(folder, FileName);
    m_share = std::make_unique<ReportShare>(m_path);
    bool backupSaved = false;
    m_company = m_share->join([&] { backupSaved = rotate(folder, append); });
    // Another run may be writing it: it is added to, never emptied.
    if (m_company != ReportShare::Company::Alone)
        open(QIODevice::WriteOnly);
    return backupSaved;
}

bool ReportFile::rotate(const QString &folder, bool append)
{
    const QString backup = platform::fileInFolder(folder, BackupName);
    const bool previous = platform::fileExists(m_path);
    const bool whole = previous && isWholeReport(m_path);
    // The older backup goes only when a complete copy of a whole report
    // replaces it.
    bool backupSaved = whole && platform::copyFile(m_path, backup);
    // A report about to be emptied is never lost: when there is no room
    // for its copy it becomes the backup by a rename, which needs none;
    // failing that, the new run is added after it instead.
    if (whole && !backupSaved && !append && platform::moveFile(m_path, backup)) {
        platform::syncFolder(folder);
        backupSaved = true;
    }
    const bool keepOld = previous && !backupSaved && platform::fileExists(m_path);

    const QIODevice::OpenMode add = QIODevice::WriteOnly;
    const QIODevice::OpenMode rewrite = QIODevice::WriteOnly | QIODevice::Truncate;
    if (!open(append || keepOld ? add : rewrite) && !keepOld)
        open(rewrite);
    return backupSaved;
}

void ReportFile::reopenForAppend()
{
    close();
    if (!m_share || m_cutOff)
        return;
    if (!m_share->writing())
        m_company = m_share->join({});
    open(QIODevice::WriteOnly);
}

bool ReportFile::open(QIODevice::OpenMode mode)
{
    // Unbuffered: each line reaches the file as it is added, so a run that
    // is killed leaves its report up to its last line and tail -f follows it.
    // Appending: a line of another run writing the report at the same time
    // is never overwritten, and each line goes in whole by one write.
    auto file = std::make_unique<QFile>();
    if (!platform::openFile(*file, m_path, mode | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    m_file = std::move(file);
    m_fresh = (mode & QIODevice::Truncate) != 0;
    m_endsWhole = isWholeReport(m_path);
    return true;
}

bool ReportFile::write(const QString &line)
{
    if (!m_file)
        return true;
    // The lines of a run added after a cut-off report begin on a line of
    // their own.
    const bool endBrokenLine = !m_endsWhole && m_file->size() > 0;
    const QByteArray bytes = (endBrokenLine ? QByteArray("\r\n") : QByteArray()) + line.toUtf8() + "\r\n";
    const qint64 written = m_file->write(bytes);
    if (written == bytes.size()) {
        m_endsWhole = true;
        return true;
    }
    markCutOff(written);
    m_file.reset();
    m_cutOff = true;
    return false;
}

void ReportFile::markCutOff(qint64 written)
{
    // A line written in part already leaves the file without its final line
    // end. One not written at all would leave this run's lines looking like
    // a whole report, so their last line end goes (the next run puts it
    // back): shortening a file needs no room on a full disk. A file that
    // still holds the previous report keeps it as it was.
    if (written <= 0 && m_endsWhole && m_fresh)
        m_file->resize(m_file->size() - 2);
}

void ReportFile::close()
{
    if (m_file)
        platform::syncFile(*m_file);
    m_file.reset();
}

bool ReportFile::finish(int limitKb)
{
    close();
    bool trimmed = true;
    if (m_share)
        m_share->leave([&] { trimmed = CheckRepSize(m_path, limitKb); });
    return trimmed;
}

bool CheckRepSize(const QString &path, int limitKb)
{
    if (limitKb <= 0)
        return true;
    QFile file;
    if (!platform::openFile(file, path, QIODevice::ReadOnly))
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
