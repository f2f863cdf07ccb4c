#include "JobDescription.h"

#include "platform/VersionBlock.h"
#include "shared/BuiltInCommand.h"
#include "shared/ConstStr.h"

namespace zentavo {

namespace {

StyledRun normal(const QString &text)
{
    return {.text = text};
}

StyledRun italic(const QString &text)
{
    return {.text = text, .italic = true};
}

// The days are printed smaller than the folder or command they belong to.
StyledRun italicDays(const QString &days)
{
    return {.text = u'\t' + DaysText(days), .italic = true, .pointSize = 8};
}

QString quoted(const QString &path)
{
    return u'"' + path + u'"';
}

class DescriptionWriter {
public:
    explicit DescriptionWriter(JobNumbering numbering) : m_numbering(numbering) {}

    void header(const QString &header)
    {
        for (const QString &line : header.split(u'\n'))
            m_lines.push_back({{{.text = line, .bold = true}}});
        m_lines.push_back({});
        m_lines.push_back({});
    }

    void job(const DescribedJob &job, int number)
    {
        const QString sign = m_numbering == JobNumbering::MainProgram ? QStringLiteral("N  ") : QStringLiteral("N ");
        line({normal(sign + QString::number(number) + u' '), {.text = job.title, .bold = true, .italic = true}});
        line({normal(sNameArch + u' '), italic(job.archive)});
        line({normal(sSourceList)});
        for (qsizetype i = 0; i < job.sources.size(); ++i) {
            QString text = u'\t' + job.sources.at(i);
            if (const QString masks = job.exclusions.value(i); !masks.isEmpty())
                text += QStringLiteral("  (") + sExcludeList + u' ' + QString(masks).replace(u'|', QStringLiteral(", "))
                    + u')';
            line({italic(text)});
        }
        if (!job.comment.isEmpty())
            line({normal(sComment + u' '), italic(job.comment)});
        if (!job.dests.empty()) {
            line({normal(sCopyEveryDay)});
            dayLines(job.dests, 1);
        }
        if (job.listsPeriodCopies)
            periodCopies(job);
        if (!job.commandsBefore.empty() || !job.commandsAfter.empty())
            commands(job);
        m_lines.push_back({});
    }

    std::vector<StyledLine> take() { return std::move(m_lines); }

private:
    void line(std::vector<StyledRun> runs) { m_lines.push_back({std::move(runs)}); }

    // Folders or commands one tab deeper than their heading, each followed by
    // its days when it has any.
    void dayLines(const std::vector<DayLine> &lines, int depth)
    {
        for (const DayLine &entry : lines) {
            std::vector<StyledRun> runs{italic(QString(depth, u'\t') + entry.text)};
            if (!entry.days.isEmpty())
                runs.push_back(italicDays(entry.days));
            line(std::move(runs));
        }
    }

    void periodCopies(const DescribedJob &job)
    {
        line({normal(sCopyExtend)});
        const std::array<const QString *, 4> captions{&sCopyWeek, &sCopyMonth, &sCopyQuart, &sCopyYear};
        for (std::size_t kind = 0; kind < captions.size(); ++kind) {
            if (job.periodCopies[kind].isEmpty())
                continue;
            line({normal(u'\t' + *captions[kind])});
            for (const QString &folder : job.periodCopies[kind])
                line({italic(QStringLiteral("\t\t") + folder)});
        }
    }

    void commands(const DescribedJob &job)
    {
        line({normal(sCommandList)});
        for (const auto &[caption, list] :
             {std::pair{&sCommandBefore, &job.commandsBefore}, std::pair{&sCommandAfter, &job.commandsAfter}}) {
            if (list->empty())
                continue;
            line({normal(u'\t' + *caption)});
            std::vector<DayLine> shown;
            for (const DayLine &command : *list)
                shown.push_back({CommandDisplayText(command.text), command.days});
            dayLines(shown, 2);
        }
    }

    JobNumbering m_numbering;
    std::vector<StyledLine> m_lines;
};

std::vector<DayLine> dayLinesOf(const TStringListMy &list)
{
    std::vector<DayLine> lines;
    for (qsizetype i = 0; i < list.size(); ++i)
        lines.push_back({list.NameAt(i), list.ValueAt(i)});
    return lines;
}

QStringList foldersOf(const TStringListMy &list)
{
    QStringList folders;
    for (qsizetype i = 0; i < list.size(); ++i)
        folders << list.NameAt(i);
    return folders;
}

} // namespace

QString JobDescriptionHeader(const platform::VersionBlock &version, const QString &jobFileName)
{
    QString header = version.productName();
    if (const QString text = version.productVersion(); !text.isEmpty())
        header += u' ' + text;
    if (const QString text = version.fileDescription(); !text.isEmpty())
        header += u'\n' + text;
    if (const QString text = version.fileVersion(); !text.isEmpty())
        header += QStringLiteral("\nFile version ") + text;
    return header + QStringLiteral("\n\n") + sJobFile + QStringLiteral("  ") + jobFileName;
}

std::vector<StyledLine> DescribeJobs(const QString &header, const std::vector<DescribedJob> &jobs,
                                     JobNumbering numbering)
{
    DescriptionWriter writer(numbering);
    writer.header(header);
    int number = 0;
    for (const DescribedJob &job : jobs)
        writer.job(job, ++number);
    return writer.take();
}

DescribedJob DescribedJobOf(const TBlock &block)
{
    DescribedJob job{.title = block.GetStr(Title),
                     .archive = block.GetStr(ArchiveName),
                     .comment = block.GetStr(Comment),
                     .sources = block.Sources,
                     .exclusions = block.Exclusions,
                     .dests = dayLinesOf(block.Dests),
                     .periodCopies = {foldersOf(block.WeekCopies), foldersOf(block.MonthCopies),
                                      foldersOf(block.QuarterCopies), foldersOf(block.YearCopies)},
                     .listsPeriodCopies = false,
                     .commandsBefore = dayLinesOf(block.CmdBefore),
                     .commandsAfter = dayLinesOf(block.CmdAfter)};
    for (const QStringList &folders : job.periodCopies)
        job.listsPeriodCopies = job.listsPeriodCopies || !folders.isEmpty();
    return job;
}

QString CommandDisplayText(const QString &command)
{
    const std::optional<BuiltInCommand> parsed = BuiltInCommand::parse(command);
    if (!parsed)
        return command;
    switch (parsed->kind) {
    case BuiltInCommand::Kind::Copy:
    case BuiltInCommand::Kind::Move:
        return (parsed->kind == BuiltInCommand::Kind::Copy ? sCommandCopy : sCommandRemove) + QStringLiteral("  ")
            + quoted(parsed->source) + u' ' + sIn + u' ' + quoted(parsed->target);
    case BuiltInCommand::Kind::Delete: return sCommandDelete + QStringLiteral("  ") + quoted(parsed->source);
    }
    return command;
}

QString DaysText(const QString &days)
{
    QString text = u'(' + sOnlyOn;
    for (qsizetype i = 0; i < days.size(); ++i)
        text += (i > 0 ? QStringLiteral(", ") : QStringLiteral(" ")) + DayName(days.at(i));
    return text + u')';
}

} // namespace zentavo
