#include "PelvoPrint.h"

#include "editor/PelvoDescription.h"
#include "platform/VersionBlock.h"
#include "report/widgets/JobDescriptionPrinter.h"
#include "shared/JobDescription.h"

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
