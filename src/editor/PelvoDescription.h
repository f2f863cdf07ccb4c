#pragma once

#include "editor/PelvoExt.h"
#include "shared/JobDescription.h"

namespace pelvo {

// An editor job as the printed description shows it: the copies of its one
// list sorted into the four periods by their kind letter (Latin or the older
// Cyrillic one), and its one command list split into the commands before and
// after archiving. A copy line of no known kind is left out.
zentavo::DescribedJob DescribedJobOf(const TBlock &block, const QString &jobName);

} // namespace pelvo
