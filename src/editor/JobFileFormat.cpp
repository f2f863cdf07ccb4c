#include "JobFileFormat.h"

#include "Cp1251.h"
#include "JobFileLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <variant>

namespace pelvo {

namespace {

using jobfile::Key;

constexpr std::array periodKeys{Key::WeekCopy, Key::MonthCopy, Key::QuarterCopy, Key::YearCopy};

void placeTailLine(TBlock &block, const QString &line)
{
    for (Key key : periodKeys) {
        if (jobfile::hasKey(line, key)) {
            block.ExtCopies << line.left(1) + u'>' + line.mid(2);
            return;
        }
    }
    const QString start = line.left(4).toUpper();
    if (start == QStringLiteral("CMD1") || start == QStringLiteral("CMD2"))
        block.Cmds << line.left(4) + u'>' + line.mid(5);
    else
        block.Dests << line;
}

TBlock blockOf(const jobfile::JobSection &section)
{
    TBlock block;
    block.SetStr(ArchiveName, section.archive);
    block.SetStr(Comment, section.comment);
    block.Sources = section.sources;
    block.Exclusions = section.exclusions;
    for (const QString &line : section.tail)
        placeTailLine(block, line);
    return block;
}

// The key with which a copy of the given kind letter is written: the kind
// letter is Latin or the older Cyrillic one, in either case.
std::optional<Key> periodKeyOf(const QString &kind)
{
    for (Key key : periodKeys) {
        if (kind.compare(jobfile::keyText(key).left(1), Qt::CaseInsensitive) == 0
            || kind.compare(jobfile::olderKeyText(key).left(1), Qt::CaseInsensitive) == 0)
            return key;
    }
    return std::nullopt;
}

constexpr QStringView headerLine = u"Zentavo job file";

// The lines of the file, or the message why a job cannot be written.
std::variant<QStringList, QString> fileLines(const JobList &jobs)
{
    QStringList lines{headerLine.toString()};
    for (std::size_t i = 0; i < jobs.blocks.size(); ++i) {
        const TBlock &block = jobs.blocks[i];
        const QString name = jobs.names.value(qsizetype(i));
        lines << jobfile::SectionMark << name << block.GetStr(ArchiveName);
        for (const QString &source : block.Sources)
            lines << jobfile::keyText(Key::Source) + source;
        lines << jobfile::keyText(Key::Comment) + block.GetStr(Comment);
        for (const QString &masks : block.Exclusions)
            lines << jobfile::keyText(Key::Exclusions) + masks;
        lines << block.Dests;
        for (qsizetype c = 0; c < block.ExtCopies.size(); ++c) {
            const std::optional<Key> key = periodKeyOf(block.ExtCopies.KeyAt(c));
            if (!key)
                return QStringLiteral("The job \"%1\" has a copy of an unknown period: %2")
                    .arg(name, block.ExtCopies.at(c));
            const QString &line = block.ExtCopies.at(c);
            lines << jobfile::keyText(*key) + line.mid(line.indexOf(u'>') + 1);
        }
        // "CMD1>command=days" is written "CMD1=command=days".
        for (QString command : block.Cmds) {
            if (command.size() > 4)
                command[4] = u'=';
            lines << command;
        }
    }
    return lines;
}

// Moves the old job file aside as its ".BAK" and the new one into place.
bool replaceWithBackup(const QString &path, const QString &newFile)
{
    const QString backup = backupFileName(path);
    const bool hadOld = QFile::exists(path);
    if (hadOld) {
        QFile::remove(backup);
        if (!QFile::rename(path, backup))
            return false;
    }
    if (QFile::rename(newFile, path))
        return true;
    if (hadOld)
        QFile::rename(backup, path);
    return false;
}

} // namespace

std::optional<JobList> ReadJobFile(const QString &path)
{
    const auto sections = jobfile::readSections(path, jobfile::EmptyLine::IsTailLine);
    if (!sections)
        return std::nullopt;
    JobList jobs;
    for (const jobfile::JobSection &section : *sections) {
        jobs.names << section.name;
        jobs.blocks.push_back(blockOf(section));
    }
    return jobs;
}

QString backupFileName(const QString &path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString stem = suffix.isEmpty() ? path : path.chopped(suffix.size() + 1);
    return stem + QStringLiteral(".BAK");
}

QString SaveJobFile(const QString &path, const JobList &jobs)
{
    const auto lines = fileLines(jobs);
    if (const QString *error = std::get_if<QString>(&lines))
        return *error;

    QByteArray bytes;
    for (const QString &line : std::get<QStringList>(lines)) {
        const std::optional<QByteArray> encoded = cp1251::encode(line);
        if (!encoded)
            return QStringLiteral("This line holds characters that a job file cannot store: %1").arg(line);
        bytes += *encoded + "\r\n";
    }

    // Write beside the job file first: a full disk must not cost the old file.
    const QString newFile = path + QStringLiteral(".new");
    QSaveFile file(newFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(newFile), file.errorString());
    if (!replaceWithBackup(path, newFile)) {
        QFile::remove(newFile);
        return QStringLiteral("Cannot replace %1").arg(QDir::toNativeSeparators(path));
    }
    return {};
}

} // namespace pelvo
