#include "RunReport.h"

#include "RunView.h"

void RunReport::AddRep(const QString &line)
{
    m_view.addReportLine(line);
    m_file.write(line);
}
