#pragma once

#include <QString>

#include <cstdint>

// The note beside an archive that a commit has cut it: which saved tail file
// belongs to it and where that tail goes back. It exists from the moment the
// tail is safe on the disk until the new archive is, so that the next open
// of the archive after a killed process or a power loss puts the old archive
// back instead of rebuilding what is left of it.
namespace zajournal {

struct Entry {
    QString tailFile;
    qint64 writePosition = 0;
    qint64 tailSize = 0;
    // How many entries of the old archive the tail holds.
    qint64 tailEntries = 0;
};

struct Recovery {
    // The tail was put back: the archive is the one before the commit.
    bool restored = false;
    // Entries of the old archive that are gone with a lost tail.
    qint64 lostEntries = 0;
};

// The note's name for an archive.
QString NameFor(const QString &archive);

// Writes the note in full and on the disk before the archive is touched;
// raises neCannotCreateFile when it cannot.
void Write(const QString &archive, const Entry &entry);

// Removes the note once the archive it speaks of is on the disk.
void Remove(const QString &archive);

// Puts back the tail of a commit that never ended, then drops the note and
// the tail. A tail that is gone or shorter than noted cannot be put back:
// the note is dropped; an archive that the commit had finished (it ends in
// its end record) is kept as it is, one that it had not is cut back to
// where the commit began writing, and the entries of the lost tail are
// counted. Raises neCannotOpenFile when the archive cannot be written, so
// the note stays for a later open.
Recovery Recover(const QString &archive);

} // namespace zajournal
