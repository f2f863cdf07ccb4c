#pragma once

#include "report/ReportFile.h"

class RunView;

// The report of a run: every line goes to the window's list and, while the
// report file is on, to the file.
class RunReport {
public:
    explicit RunReport(RunView &view) : m_view(view) {}

    void AddRep(const QString &line);

    ReportFile &file() { return m_file; }

private:
    RunView &m_view;
    ReportFile m_file;
};
