#pragma once

#include <QString>

#include <optional>

namespace platform {

// The per-user folder of the programs' sockets and locks:
// $XDG_RUNTIME_DIR/zentavo, or zentavo-<uid> in the temporary folder when
// XDG_RUNTIME_DIR is not set. It is created with mode 0700 and refused
// (nothing) when it is a link or another user's, since whoever can write in
// it could stand in for a program of the suite.
std::optional<QString> runtimeFolder();

} // namespace platform
