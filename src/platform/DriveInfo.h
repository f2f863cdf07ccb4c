#pragma once

#include <QString>

#include <memory>

// Drive services of the archive volumes. On Linux every drive is fixed and
// has no letter, so nothing is a floppy or removable drive there.
namespace platform {

// Bytes free to the caller on the file system that will hold path; path
// need not exist yet (the nearest existing folder above it is measured).
// 0 when nothing above it exists.
qint64 FreeSpace(const QString &path);

bool IsFloppyDrive(const QString &path);
bool IsRemovableDrive(const QString &path);

// What the system says of a write to a disk that has no room left.
QString DiskFullReason();

// Tells the drives whose disks a person changes from the fixed ones: the
// system's answer until a test installs another.
class DriveTypes {
public:
    virtual ~DriveTypes() = default;
    virtual bool isRemovable(const QString &path) const = 0;
};

// Installs the drive types; nullptr goes back to the system's.
void setDriveTypes(std::unique_ptr<DriveTypes> types);

} // namespace platform
