#pragma once

#include <QString>

#include <optional>

// The file commands a job can run before or after archiving, as the editor
// writes them: CCPY "source" TO "target" (copy), CREN "source" TO "target"
// (move or rename), CDEL "path" (delete).
struct BuiltInCommand {
    enum class Kind { Copy, Move, Delete };
    Kind kind;
    QString source;
    QString target;

    // True when the line names a file command rather than a program.
    static bool isBuiltIn(const QString &line);
    // The command of the line; nothing when the line is a file command
    // whose quotes, keywords or paths are missing: such a line runs nothing.
    static std::optional<BuiltInCommand> parse(const QString &line);
};
