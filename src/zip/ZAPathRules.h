#pragma once

#include "zip/ZATypes.h"

#include <QString>

// How masks and file paths become absolute paths and entry names. Paths use
// "/" (Qt's separator on every system); a path is absolute when Qt says so.
namespace zapaths {

// The absolute form of name (or, when name is empty, of folder), resolved
// against folder, then base, then the current folder.
QString ResolvePath(const QString &folder, const QString &name, const QString &base);

struct MaskPath {
    QString path;
    bool relative = false;
};

// The mask made absolute against root ("./x" and "x" lie under root).
MaskPath ResolveMaskPath(const QString &mask, const QString &root, const QString &searchBase);

// The entry name of path in the given mode, with "/" separators. Names are
// never absolute: the root (and on Windows the drive or server) is cut off
// in every mode, so that extracting an archive cannot write outside the
// chosen folder.
QString StoredName(const QString &path, const QString &folder, TZAStorePathMode mode, const QString &searchBase);

// The match used for exclusion and no-compression masks: a mask without a
// folder part tests the name, a relative one the path below searchBase, an
// absolute one the path itself; "dir/*.*" also covers everything below dir.
bool MatchesFileMask(const QString &path, const QString &mask, const QString &searchBase);

} // namespace zapaths
