#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace help {

// One name of a help project's map file with its help context.
struct MapEntry {
    QString name;
    qint32 context = 0;
    friend bool operator==(const MapEntry &, const MapEntry &) = default;
};

// A map file's text and the key that tells it apart from the other files
// (its canonical path on disk).
struct MapSource {
    QString key;
    QString text;
};
// Finds a file that "#include" names, relative to the file of fromKey.
using MapOpener = std::function<std::optional<MapSource>(const QString &name, const QString &fromKey)>;

// Reads a help project's map: "#define name number" lines, the "name number"
// (or "name=number") lines of a "[MAP]" section, and "#include file" lines
// that pull in further map files. Throws EHelpError for an include that is
// missing or leads back to a file being read.
QList<MapEntry> ParseMap(const MapSource &source, const MapOpener &open);

// The map file on disk; includes are found beside the file that names them.
// Throws EHelpError also when the file itself is missing.
QList<MapEntry> ParseMapFile(const QString &path);

} // namespace help
