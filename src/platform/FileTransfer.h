#pragma once

#include <QString>

#include <atomic>

namespace platform {

// Copies a file without ever exposing a half-written target: the content
// goes into a temporary file in the target's folder, which then replaces the
// target in one rename. The copy keeps the source's modification time and
// permissions, copies runs of zeros as holes (a sparse source stays sparse),
// and gives up, leaving the target as it was, when stop is set.
// The target's folder must exist. A target that is the source itself (the
// same file by device and inode) fails the copy. On failure error, when
// given, says why in words for a person (the system's text where it has one).
bool copyFile(const QString &from, const QString &to, const std::atomic<bool> *stop = nullptr,
              QString *error = nullptr);

// Moves a file onto a new name, replacing an existing file there in one
// step. Across file systems it copies (as copyFile) and then removes the
// source; when that removal fails both files stay and the result is False.
// A target that is the source itself fails the move, as it fails the copy.
// error as for copyFile.
bool moveFile(const QString &from, const QString &to, QString *error = nullptr);

// Deletes a file (a link itself, never what it points to); a folder fails.
// error as for copyFile.
bool removeFile(const QString &path, QString *error = nullptr);

// True when both names lead to the same file: the same path, a hard link or
// a symbolic link to it. False when either does not exist.
bool isSameFile(const QString &a, const QString &b);

} // namespace platform
