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

bool PrintJob(QPrinter &printer)
{
    std::vector<DescribedJob> jobs;
    for (const TBlock &block : Blocks)
        jobs.push_back(DescribedJobOf(block));
    const QString header = JobDescriptionHeader(platform::VersionBlock::ofRunningProgram(), JobFileName);
    return PrintDescription(printer, DescribeJobs(header, jobs, JobNumbering::MainProgram));
}

} // namespace zentavo
