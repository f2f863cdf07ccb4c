#pragma once

#include "shared/ZentavoExt.h"

#include <QString>

namespace zentavo {

// Reads the job file into blocks (always replaced), with archive names and
// folders normalised so that the run can use them as they stand: an archive
// name gains ".zip" and the job file's folder, folders gain a trailing
// separator. False when no name is given or the file cannot be opened; a
// readable file with no job section gives true and no blocks.
bool ReadFDat(const QString &jobFileName, TBlocks &blocks);

} // namespace zentavo
