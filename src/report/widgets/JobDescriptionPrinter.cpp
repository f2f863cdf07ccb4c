#include "JobDescriptionPrinter.h"

#include "JobDescription.h"
#include "PelvoDescription.h"
#include "Prompter.h"
#include "StyledLinePrinter.h"
#include "VersionBlock.h"

#include <QPrinter>

bool PrintDescription(QPrinter &printer, const std::vector<StyledLine> &lines)
{
    printer.setCopyCount(1);
    if (!platform::prompter().printSetup(printer))
        return false;
    return PrintStyledLines(printer, lines);
}

namespace zentavo {

bool PrintJob(QPrinter &printer)
{
    std::vector<DescribedJob> jobs;
    for (const TBlock &block : Blocks)
        jobs.push_back(DescribedJobOf(block));
    const QString header = JobDescriptionHeader(platform::VersionBlock::ofRunningProgram(), JobFileName);
    return PrintDescription(printer, DescribeJobs(header, jobs, JobNumbering::MainProgram));
}

} // namespace zentavo

namespace pelvo {

bool PrintJobs(QPrinter &printer, const QStringList &jobNames, const TBlocks &blocks, const QString &jobFileName)
{
    std::vector<zentavo::DescribedJob> jobs;
    for (std::size_t i = 0; i < blocks.size(); ++i)
        jobs.push_back(DescribedJobOf(blocks[i], jobNames.value(qsizetype(i))));
    const QString header = zentavo::JobDescriptionHeader(platform::VersionBlock::ofRunningProgram(), jobFileName);
    return PrintDescription(printer, zentavo::DescribeJobs(header, jobs, zentavo::JobNumbering::Editor));
}

} // namespace pelvo
