#include "ZATempFile.h"

#include "platform/FileNames.h"
#include "platform/Paths.h"
#include "zip/ZAExcept.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString besideArchive(const QString &archive, const QString &prefix, const QString &suffix)
{
    const QFileInfo info(archive);
    return info.absoluteDir().filePath(prefix + info.fileName() + suffix);
}

} // namespace

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

QString TailFileName(const QString &archive)
{
    return besideArchive(archive, QStringLiteral("."), QStringLiteral(".FC"));
}

QString BuildFileName(const QString &archive)
{
    return besideArchive(archive, QStringLiteral(".zentavo-new-"), {});
}

std::unique_ptr<QFile> CreateTailFile(const QString &archive)
{
    auto file = std::make_unique<QFile>(TailFileName(archive));
    if (!file->open(QIODevice::ReadWrite | QIODevice::Truncate))
        throw EZAException(zaconst::neCannotCreateFile, {}, {file->fileName()});
    return file;
}

QString ArchivePlace(const QString &archive)
{
    return platform::whereLinksLead(archive);
}
