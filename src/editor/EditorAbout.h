#pragma once

#include <QString>

namespace platform {
class VersionBlock;
}

namespace pelvo {

// The editor's About text: the main program's product and version, its
// description and file version, then the editor's own description, file
// version and copyright. A file without a version block adds nothing.
QString EditorAboutText(const platform::VersionBlock &mainProgram, const platform::VersionBlock &own);

} // namespace pelvo
