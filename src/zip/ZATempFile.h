#pragma once

#include <QString>
#include <QTemporaryFile>

#include <memory>

// A new, open, uniquely named "FC" file in tempDir (the system's temporary
// folder when empty) that survives its object: the caller deletes it.
// Raises native 19 when it cannot be created.
std::unique_ptr<QTemporaryFile> GetTempArchiveFile(const QString &tempDir);
