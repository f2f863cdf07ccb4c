#pragma once

#include <QString>
#include <QTemporaryFile>

#include <memory>

// A new, open, uniquely named "FC" file in tempDir (the system's temporary
// folder when empty) that survives its object and its process: it has its
// name on the disk from the start, and the caller deletes it.
// Raises neCannotCreateFile when it cannot be created.
std::unique_ptr<QTemporaryFile> GetTempArchiveFile(const QString &tempDir);
