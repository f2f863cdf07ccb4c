#include "ZATempFile.h"

#include "ZAExcept.h"

#include <QDir>

std::unique_ptr<QTemporaryFile> GetTempArchiveFile(const QString &tempDir)
{
    const QString folder = tempDir.isEmpty() ? QDir::tempPath() : tempDir;
    auto file = std::make_unique<QTemporaryFile>(QDir(folder).filePath(QStringLiteral("FCXXXXXX")));
    file->setAutoRemove(false);
    if (!file->open())
        throw EZAException(19, {}, {QDir(folder).filePath(QStringLiteral("FC"))});
    return file;
}
