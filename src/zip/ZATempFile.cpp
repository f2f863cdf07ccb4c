#include "ZATempFile.h"

#include "Paths.h"
#include "ZAExcept.h"

#include <QDir>

std::unique_ptr<QTemporaryFile> GetTempArchiveFile(const QString &tempDir)
{
    const QString folder = platform::temporaryFolder(tempDir);
    auto file = std::make_unique<QTemporaryFile>(QDir(folder).filePath(QStringLiteral("FCXXXXXX")));
    file->setAutoRemove(false);
    // Asking for the name links the file into the folder at once; a file
    // without a name would vanish with a killed process.
    if (!file->open() || file->fileName().isEmpty() || !QFile::exists(file->fileName()))
        throw EZAException(zaconst::neCannotCreateFile, {}, {QDir(folder).filePath(QStringLiteral("FC"))});
    return file;
}
