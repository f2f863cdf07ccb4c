#include "PelvoDescription.h"

namespace pelvo {

namespace {

// The period of a copy's kind letter: 0 week to 3 year; -1 for none.
int periodOf(const QString &kind)
{
    static const std::array<QString, 4> latin{QStringLiteral("W"), QStringLiteral("M"), QStringLiteral("Q"),
                                              QStringLiteral("Y")};
    static const std::array<QString, 4> cyrillic{QStringLiteral("Н"), QStringLiteral("М"), QStringLiteral("К"),
                                                 QStringLiteral("Г")};
    const QString upper = kind.toUpper();
    for (int period = 0; period < 4; ++period)
        if (upper == latin[period] || upper == cyrillic[period])
            return period;
    return -1;
}

} // namespace

zentavo::DescribedJob DescribedJobOf(const TBlock &block, const QString &jobName)
{
    zentavo::DescribedJob job{.title = jobName,
                              .archive = block.GetStr(ArchiveName),
                              .comment = block.GetStr(Comment),
                              .sources = block.Sources,
                              .exclusions = block.Exclusions,
                              .dests = {},
                              .periodCopies = {},
                              .listsPeriodCopies = !block.ExtCopies.isEmpty(),
                              .commandsBefore = {},
                              .commandsAfter = {}};
    for (qsizetype i = 0; i < block.Dests.size(); ++i)
        job.dests.push_back({block.Dests.NameAt(i), block.Dests.ValueAt(i)});
    for (qsizetype i = 0; i < block.ExtCopies.size(); ++i)
        if (const int period = periodOf(block.ExtCopies.KeyAt(i)); period >= 0)
            job.periodCopies[period] << block.ExtCopies.TailAt(i);
    for (qsizetype i = 0; i < block.Cmds.size(); ++i) {
        const QString kind = block.Cmds.KeyAt(i).toUpper();
        const zentavo::DayLine command{block.Cmds.TailAt(i), block.Cmds.ValueAt(i)};
        if (kind == QStringLiteral("CMD1"))
            job.commandsBefore.push_back(command);
        else if (kind == QStringLiteral("CMD2"))
            job.commandsAfter.push_back(command);
    }
    return job;
}

} // namespace pelvo
