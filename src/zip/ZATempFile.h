#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryFile>

#include <memory>

// A new, open, uniquely named "FC" file in tempDir (the system's temporary
// folder when empty) that survives its object and its process: it has its
// name on the disk from the start, and the caller deletes it.
// Raises neCannotCreateFile when it cannot be created.
std::unique_ptr<QTemporaryFile> GetTempArchiveFile(const QString &tempDir);

// The files a writer of an archive keeps beside it, on the same file
// system, named after it, so that the next writer of the same archive
// finds what a killed one left behind: the saved tail of a commit, and a
// new archive (or the base name of its volumes) while it is made anew.
QString TailFileName(const QString &archive);
QString BuildFileName(const QString &archive);

// The tail file of the archive, made empty and open for writing.
// Raises neCannotCreateFile when it cannot be made.
std::unique_ptr<QFile> CreateTailFile(const QString &archive);

// Where the archive's file really is: a name that is a link (on another
// disk, say) leads there. A new archive is made and put in place there;
// the link stays as it was.
QString ArchivePlace(const QString &archive);
