#pragma once

#include <QString>

#include <stdexcept>

// The one wildcard matcher of the suite. Masks follow the Windows rules that
// job files were written for, whatever the file system underneath:
// - letters compare case-insensitively;
// - "*" stands for any run of characters (also none, also separators),
//   "?" for exactly one character;
// - a mask ending in ".*" also matches the name without that extension, so
//   "*.*" matches every name, with or without a dot, and "data.*" matches "data";
// - a leading dot is an ordinary character: ".profile" is matched by "*".
// Every other character stands for itself.
namespace platform {

bool matchesMask(const QString &name, const QString &mask);

// A mask that cannot be read; its text is "'<mask>' is an invalid mask at
// (<position>)", the position counted from 1.
class InvalidMask : public std::runtime_error {
public:
    InvalidMask(const QString &mask, qsizetype position);
};

// The archiver's masks know sets besides: "[abc]" stands for one of the
// characters, "[a-c]" for one of a range, "[!a-c]" for any other one.
// An unclosed "[" or more than 30 "*" raise InvalidMask.
bool matchesMaskWithSets(const QString &name, const QString &mask);
// Raises InvalidMask when matchesMaskWithSets cannot read the mask.
void checkMaskWithSets(const QString &mask);

// A mask list holds masks separated by ";" or "|" ("*.doc;*.txt");
// blanks around each mask are ignored, empty masks match nothing.
bool matchesAnyMask(const QString &name, const QString &maskList);

// True when the text holds "*" or "?".
bool hasWildcards(const QString &text);

} // namespace platform
