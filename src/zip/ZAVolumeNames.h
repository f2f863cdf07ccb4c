#pragma once

#include "zip/ZATypes.h"

#include <QList>
#include <QString>

// Names of the volumes of a split or spanned set.
namespace zavolumes {

// Index -1 is the last volume.
inline constexpr int LastVolume = -1;

struct Naming {
    TZASpanningMode mode = smNone;
    bool advancedNaming = true;
    // A stub is or will be in front of the first volume.
    bool selfExtracting = false;
    // Numbered volumes as ".Z01" whatever the last volume's name; a set
    // written that way elsewhere is still read.
    bool upperCaseNumbers = false;
};

// The lower-cased extension contains ".exe".
bool IsExeName(const QString &name);

// The name of volume index of the set whose base name is name. Without a
// multi-volume mode, and for the last volume of a plain split set, the
// name itself. Numbered volumes take the case of the last volume's
// extension (".z01" beside "data.zip", ".Z01" beside "data.ZIP"): the
// common tools derive the volumes' names from the last one's, and on a
// file system that tells cases apart find them only so.
QString GetVolumeFileName(const QString &name, int index, const Naming &naming);

struct VolumeFile {
    int index = LastVolume;
    QString path;
};

// The files of the set whose base name is name that are on the disk, in
// the set's order: its numbered volumes (the first one of a
// self-extracting set is its ".exe") and then its last volume. Without a
// split mode the one file name, when it exists. Numbered volumes are also
// found as ".Z01" beside a lower-case last volume, as older sets were
// written.
QList<VolumeFile> VolumeFilesOnDisk(const QString &name, const Naming &naming);

} // namespace zavolumes
