#include "JobDescriptionPrinter.h"

#include "JobDescription.h"
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

bool PrintJob(QPrinter &printer, const QString &jobFileName, const TBlocks &jobs)
{
    std::vector<DescribedJob> described;
    for (const TBlock &block : jobs)
        described.push_back(DescribedJobOf(block));
    const QString header = JobDescriptionHeader(platform::VersionBlock::ofRunningProgram(), jobFileName);
    return PrintDescription(printer, DescribeJobs(header, described, JobNumbering::MainProgram));
}

} // namespace zentavo
