#include "JobDescriptionPrinter.h"

#include "platform/Prompter.h"
#include "platform/VersionBlock.h"
#include "report/widgets/StyledLinePrinter.h"
#include "shared/JobDescription.h"

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
