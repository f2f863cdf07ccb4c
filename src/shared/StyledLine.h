#pragma once

#include <QString>

#include <vector>

// A piece of a printed line in one type.
struct StyledRun {
    QString text;
    bool bold = false;
    bool italic = false;
    int pointSize = 10;
};

// One printed line: its pieces one after the other, each in its own type. A
// report line is one piece; a job description changes type within a line.
struct StyledLine {
    std::vector<StyledRun> runs;

    // The pieces' text joined.
    QString text() const
    {
        QString joined;
        for (const StyledRun &run : runs)
            joined += run.text;
        return joined;
    }
};
