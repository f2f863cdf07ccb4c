#pragma once

#include <QString>

// Drive services of the archive volumes. On Linux every drive is fixed and
// has no letter, so nothing is a floppy or removable drive there.
namespace platform {

// Bytes free to the caller on the file system that will hold path; path
// need not exist yet (the nearest existing folder above it is measured).
// 0 when nothing above it exists.
qint64 FreeSpace(const QString &path);

bool IsFloppyDrive(const QString &path);
bool IsRemovableDrive(const QString &path);

} // namespace platform
