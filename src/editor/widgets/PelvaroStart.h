#pragma once

#include "editor/widgets/Pelvo.h"

#include <QStringList>

#include <memory>

namespace pelvo {

// The editor's start: the job file from the arguments or the default one,
// the window shown with that file read, or a new file begun with its first
// job asked for.
std::unique_ptr<TFormEditor> StartPelvaro(const QStringList &arguments);

} // namespace pelvo
