#pragma once

#include "shared/StyledLine.h"

#include <QStringList>

#include <vector>

// The text of each line, its type left out.
inline QStringList textsOf(const std::vector<StyledLine> &lines)
{
    QStringList texts;
    for (const StyledLine &line : lines)
        texts << line.text();
    return texts;
}
