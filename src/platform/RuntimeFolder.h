#pragma once

#include <QString>

#include <optional>

namespace platform {

// The per-user folder of the programs' sockets and locks:
// $XDG_RUNTIME_DIR/zentavo, or zentavo-<uid> in the temporary folder when
// XDG_RUNTIME_DIR is not set. It is created with mode 0700 and refused
// (nothing) when it is a link or another user's, since whoever can write in
// it could stand in for a program of the suite; why, when given, then names
// the folder and the reason.
std::optional<QString> runtimeFolder(QString *why = nullptr);

} // namespace platform
