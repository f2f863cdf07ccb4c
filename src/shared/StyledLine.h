#pragma once

#include <QString>

// One printed line with its own type: what the report and the job
// description print.
struct StyledLine {
    QString text;
    bool bold = false;
    bool italic = false;
    int pointSize = 10;
};
