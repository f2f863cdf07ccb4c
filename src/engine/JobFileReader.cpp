#include "JobFileReader.h"

#include "platform/Paths.h"
#include "shared/JobFileLines.h"

namespace zentavo {

namespace {

using jobfile::Key;

QString normalisedArchiveName(QString name, const QString &jobFileName)
{
    if (!name.contains(QStringLiteral(".zip")))
        name += QStringLiteral(".zip");
    if (!platform::hasFolderPart(name))
        name.prepend(platform::folderPart(jobFileName));
    return name;
}

// "folder=value" with the folder ending in a separator; nothing for a line
// without a folder, which would otherwise name the root of the drive.
std::optional<QString> withFolderMark(const QString &line)
{
    const QString folder = namePart(line);
    if (folder.isEmpty())
        return std::nullopt;
    return platform::withTrailingSeparator(folder) + line.mid(folder.size());
}

TStringListMy *periodCopies(TBlock &block, const QString &line)
{
    if (jobfile::hasKeyAsWritten(line, Key::WeekCopy))
        return &block.WeekCopies;
    if (jobfile::hasKeyAsWritten(line, Key::MonthCopy))
        return &block.MonthCopies;
    if (jobfile::hasKeyAsWritten(line, Key::QuarterCopy))
        return &block.QuarterCopies;
    if (jobfile::hasKeyAsWritten(line, Key::YearCopy))
        return &block.YearCopies;
    return nullptr;
}

void placeTailLine(TBlock &block, const QString &line)
{
    if (TStringListMy *copies = periodCopies(block, line)) {
        // A copy line always carries its flag part, even when empty.
        const TStringListMy single{line.mid(2)};
        if (std::optional<QString> copy = withFolderMark(single.NameAt(0)))
            copies->append(*copy + u'=' + single.ValueAt(0));
        return;
    }
    const QString start = line.left(4).toUpper();
    if (start == QStringLiteral("CMD1"))
        block.CmdBefore << line.mid(5);
    else if (start == QStringLiteral("CMD2"))
        block.CmdAfter << line.mid(5);
    else if (std::optional<QString> destination = withFolderMark(line))
        block.Dests << *destination;
}

TBlock blockOf(const jobfile::JobSection &section, const QString &jobFileName)
{
    TBlock block;
    block.SetStr(Title, section.name);
    block.SetStr(ArchiveName, normalisedArchiveName(section.archive, jobFileName));
    block.SetStr(Comment, section.comment);
    block.Sources = TStringListMy(section.sources);
    block.Exclusions = TStringListMy(section.exclusions);
    for (const QString &line : section.tail)
        placeTailLine(block, line);
    return block;
}

} // namespace

bool ReadFDat(const QString &jobFileName, TBlocks &blocks)
{
    blocks.clear();
    const auto sections = jobfile::readSections(jobFileName, jobfile::EmptyLine::EndsSection);
    if (!sections)
        return false;
    for (const jobfile::JobSection &section : *sections)
        blocks.push_back(blockOf(section, jobFileName));
    return true;
}

} // namespace zentavo
