#include "RunReport.h"

#include "engine/RunView.h"
#include "shared/ConstStr.h"

#include <cstdio>

void RunReport::AddRep(const QString &line)
{
    m_view.addReportLine(line);
    if (m_file.write(line))
        return;
    // The file is the run's lasting record; its loss is told in the window
    // and on standard error, which outlives a window that closes by itself.
    const QString failure = zentavo::sWriteError + u' ' + m_file.path();
    m_view.addReportLine(failure);
    std::fprintf(stderr, "%s\n", qUtf8Printable(failure));
    std::fflush(stderr);
}
