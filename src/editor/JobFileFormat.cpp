#include "JobFileFormat.h"

#include "editor/PageTexts.h"
#include "platform/FileNames.h"
#include "platform/FileTransfer.h"
#include "platform/SafeSave.h"
#include "shared/JobFileLines.h"
#include "shared/StringListMy.h"

#include <QDir>
#include <QFileInfo>

#include <array>

namespace pelvo {

namespace {

using jobfile::Key;

constexpr std::array periodKeys{Key::WeekCopy, Key::MonthCopy, Key::QuarterCopy, Key::YearCopy};
constexpr std::array allKeys{Key::Source,    Key::Comment,     Key::Exclusions, Key::WeekCopy,
                             Key::MonthCopy, Key::QuarterCopy, Key::YearCopy};

bool isCommandLine(const QString &line)
{
    const QString start = line.left(4).toUpper();
    return start == QStringLiteral("CMD1") || start == QStringLiteral("CMD2");
}

// Tail lines without a folder ("=135", "W=") are dropped: they would name the
// root of the drive.
void placeTailLine(TBlock &block, const QString &line)
{
    for (Key key : periodKeys) {
        if (jobfile::hasKey(line, key)) {
            if (!namePart(line.mid(2)).isEmpty())
                block.ExtCopies << jobfile::keyText(key).left(1) + u'>' + line.mid(2);
            return;
        }
    }
    if (isCommandLine(line))
        block.Cmds << line.left(4).toUpper() + u'>' + line.mid(5);
    else if (!namePart(line).isEmpty())
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

// A positional line that a reader would take for something else.
bool isMisreadAsMarkOrComment(const QString &line)
{
    return line.isEmpty() || line == jobfile::SectionMark || line.startsWith(QStringLiteral("//"));
}

// A destination that a reader would take for a keyed line or a command.
bool isMisreadAsKeyed(const QString &line)
{
    return isCommandLine(line) || line.startsWith(QStringLiteral("//"))
        || std::any_of(allKeys.begin(), allKeys.end(), [&](Key key) { return jobfile::hasKey(line, key); });
}

// Collects the lines of a job file; the first text that could not be read
// back as written stops it, with the place of that text.
class FileLines {
public:
    explicit FileLines(textencoding::Encoding encoding) : m_encoding(encoding) {}

    void add(const QString &line)
    {
        if (m_refusal)
            return;
        if (line.contains(u'\r') || line.contains(u'\n'))
            refuse(QStringLiteral("a line break inside \"%1\"").arg(line.simplified()));
        else if (!textencoding::encode(line, m_encoding))
            refuse(QStringLiteral("characters outside the job file's character set in \"%1\"").arg(line));
        else
            m_lines << line;
    }

    // The file's bytes: every line ended by CR LF, in the file's encoding,
    // unless a reader would take those bytes for UTF-8 and read other
    // letters (code page 1251 bytes can form valid UTF-8); then in UTF-8
    // with the mark.
    QByteArray bytes() const
    {
        QString content;
        for (const QString &line : m_lines)
            content += line + QStringLiteral("\r\n");
        return textencoding::encodeToReadBack(content, m_encoding)->bytes;
    }

    void refuse(const QString &why)
    {
        if (!m_refusal)
            m_refusal = SaveRefusal{m_job, m_place, m_line, why};
    }

    void startJob(int index, const QString &name)
    {
        m_job = index;
        m_jobName = name;
    }
    // The place of the texts added or refused next.
    void at(JobPlace place, qsizetype line = 0)
    {
        m_place = place;
        m_line = int(line);
    }
    const QStringList &lines() const { return m_lines; }
    const std::optional<SaveRefusal> &refusal() const { return m_refusal; }
    QString error() const
    {
        return m_refusal ? QStringLiteral("The job \"%1\" cannot be saved: %2.").arg(m_jobName, m_refusal->reason)
                         : QString();
    }

private:
    textencoding::Encoding m_encoding;
    QStringList m_lines;
    int m_job = 0;
    QString m_jobName;
    JobPlace m_place = JobPlace::Name;
    int m_line = 0;
    std::optional<SaveRefusal> m_refusal;
};

constexpr QStringView headerLine = u"Zentavo job file";

// A folder or command with "=": a reader splits its line at the first "=",
// so the rest would become the days or the flag.
QString equalsReason(const QString &text)
{
    return QStringLiteral("\"%1\" contains \"=\", which a job file cannot hold in a folder or a command").arg(text);
}

void addJob(FileLines &out, int index, const QString &name, const TBlock &block)
{
    out.startJob(index, name);
    out.at(JobPlace::Name);
    if (isMisreadAsMarkOrComment(name))
        out.refuse(QStringLiteral("its name is empty or reads as a mark or a comment"));
    out.at(JobPlace::ArchiveName);
    if (isMisreadAsMarkOrComment(block.GetStr(ArchiveName)))
        out.refuse(QStringLiteral("its archive name is empty or reads as a mark or a comment"));
    out.at(JobPlace::Source);
    if (block.Sources.isEmpty())
        out.refuse(QStringLiteral("it has no source"));

    out.add(jobfile::SectionMark);
    out.at(JobPlace::Name);
    out.add(name);
    out.at(JobPlace::ArchiveName);
    out.add(block.GetStr(ArchiveName));
    for (qsizetype i = 0; i < block.Sources.size(); ++i) {
        out.at(JobPlace::Source, i);
        out.add(jobfile::keyText(Key::Source) + block.Sources.at(i));
    }
    out.at(JobPlace::Comment);
    out.add(jobfile::keyText(Key::Comment) + block.GetStr(Comment));
    // One exclusion line per source, so that each reads back to its source.
    for (qsizetype i = 0; i < block.Sources.size(); ++i) {
        out.at(JobPlace::Exclusions, i);
        out.add(jobfile::keyText(Key::Exclusions) + block.Exclusions.value(i));
    }
    for (qsizetype d = 0; d < block.Dests.size(); ++d) {
        const QString &destination = block.Dests.at(d);
        out.at(JobPlace::Destination, d);
        if (BreaksItsLine(block.Dests.NameAt(d)))
            out.refuse(equalsReason(block.Dests.NameAt(d)));
        else if (namePart(destination).isEmpty() || isMisreadAsKeyed(destination))
            out.refuse(
                QStringLiteral("the destination \"%1\" has no folder or reads as another line").arg(destination));
        out.add(destination);
    }
    for (qsizetype c = 0; c < block.ExtCopies.size(); ++c) {
        out.at(JobPlace::ExtraCopy, c);
        const std::optional<Key> key = periodKeyOf(block.ExtCopies.KeyAt(c));
        if (BreaksItsLine(block.ExtCopies.TailAt(c)))
            out.refuse(equalsReason(block.ExtCopies.TailAt(c)));
        else if (!key || block.ExtCopies.TailAt(c).isEmpty())
            out.refuse(QStringLiteral("the copy \"%1\" has no period or no folder").arg(block.ExtCopies.at(c)));
        else
            out.add(jobfile::keyText(*key) + block.ExtCopies.at(c).mid(block.ExtCopies.KeyAt(c).size() + 1));
    }
    // "CMD1>command=days" is written "CMD1=command=days".
    for (qsizetype c = 0; c < block.Cmds.size(); ++c) {
        const QString &command = block.Cmds.at(c);
        out.at(JobPlace::Command, c);
        if (BreaksItsLine(block.Cmds.TailAt(c)))
            out.refuse(equalsReason(block.Cmds.TailAt(c)));
        else if (!isCommandLine(command) || command.mid(4, 1) != QStringLiteral(">"))
            out.refuse(QStringLiteral("\"%1\" is no command").arg(command));
        else
            out.add(command.left(4) + u'=' + command.mid(5));
    }
}

FileLines fileLines(const JobList &jobs)
{
    FileLines out(jobs.encoding);
    out.add(QString(jobs.extraMarks, textencoding::MarkCharacter) + headerLine.toString());
    for (std::size_t i = 0; i < jobs.blocks.size(); ++i)
        addJob(out, int(i), jobs.names.value(qsizetype(i)), jobs.blocks[i]);
    return out;
}

} // namespace

std::optional<JobList> ReadJobFile(const QString &path)
{
    JobList jobs;
    const auto sections = jobfile::readSections(path, jobfile::EmptyLine::Skipped, &jobs.encoding, &jobs.extraMarks);
    if (!sections)
        return std::nullopt;
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

std::optional<SaveRefusal> FindSaveRefusal(const JobList &jobs)
{
    return fileLines(jobs).refusal();
}

QString SaveJobFile(const QString &path, const JobList &jobs)
{
    const FileLines out = fileLines(jobs);
    if (out.refusal())
        return out.error();

    const QByteArray bytes = out.bytes();

    // The old file becomes the ".BAK" by a complete copy, and the new
    // content replaces it only when all of it reached the disk: a full disk
    // costs neither.
    const QString backup = backupFileName(path);
    if (platform::fileExists(path) && !platform::copyFile(path, backup))
        return QStringLiteral("Cannot write %1").arg(platform::readableFileName(QDir::toNativeSeparators(backup)));
    QString error;
    if (!platform::saveFile(path, bytes, &error))
        return QStringLiteral("Cannot write %1: %2")
            .arg(platform::readableFileName(QDir::toNativeSeparators(path)), error);
    return {};
}

} // namespace pelvo
