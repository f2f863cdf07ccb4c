#include "ReportFile.h"

#include <QDir>
#include <QSaveFile>

bool ReportFile::start(const QString &folder, bool append)
{
    close();
    m_path = QDir(folder).filePath(FileName);
    const QString backup = QDir(folder).filePath(BackupName);
    QFile::remove(backup);
    const bool backupSaved = QFile::copy(m_path, backup);

    const QIODevice::OpenMode rewrite = QIODevice::WriteOnly | QIODevice::Truncate;
    if (!open(append ? QIODevice::WriteOnly | QIODevice::Append : rewrite))
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
    auto file = std::make_unique<QFile>(m_path);
    if (!file->open(mode))
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
        m_file->flush();
    m_file.reset();
}

void CheckRepSize(const QString &path, int limitKb)
{
    if (limitKb <= 0)
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const qint64 limit = qint64(limitKb) * 1024;
    if (file.size() <= limit)
        return;
    const QByteArray content = file.readAll();
    file.close();

    // Drop as few whole lines from the top as bring it within the limit.
    qsizetype cut = 0;
    while (content.size() - cut > limit) {
        const qsizetype lineEnd = content.indexOf('\n', cut);
        cut = lineEnd < 0 ? content.size() : lineEnd + 1;
    }
    QSaveFile trimmed(path);
    if (trimmed.open(QIODevice::WriteOnly)) {
        trimmed.write(content.constData() + cut, content.size() - cut);
        trimmed.commit();
    }
}
