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

// StoredName for the many paths of one search: the folder is resolved
// once, and a path that lies plainly below it (no ".", ".." or empty steps)
// is named without the path routines, which cost more than the rest of
// taking a file in.
class StoredNames {
public:
    StoredNames(const QString &folder, TZAStorePathMode mode, const QString &searchBase);
    QString Of(const QString &path) const;

private:
    QString m_folderPath;
    TZAStorePathMode m_mode;
    QString m_searchBase;
};

// The match used for exclusion and no-compression masks: a mask without a
// folder part tests the name, a relative one the path below searchBase, an
// absolute one the path itself; "dir/*.*" also covers everything below dir.
bool MatchesFileMask(const QString &path, const QString &mask, const QString &searchBase);

// MatchesFileMask with the mask resolved once, for testing every file of a
// search against it.
class FileMask {
public:
    FileMask(const QString &mask, const QString &searchBase);
    bool Matches(const QString &path) const;

private:
    enum class Kind { Everything, Nothing, Name, RelativePath, Absolute };
    Kind m_kind = Kind::Nothing;
    QString m_pattern; // the mask, for a relative one
    QString m_base;    // the folder a relative path is taken from
    QString m_folder;  // an absolute mask's folder part, with its "/"
    QString m_name;    // and its name part
};

} // namespace zapaths
