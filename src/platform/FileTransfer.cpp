#include "FileTransfer.h"

#include "Paths.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <array>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform {

namespace {

constexpr qint64 BlockSize = 1 << 20;

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

#ifdef Q_OS_WIN
// Windows refuses to replace or delete a read-only file; its other
// attributes stay.
void clearReadOnly(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isSymLink() && !info.isWritable())
        QFile::setPermissions(path, info.permissions() | QFileDevice::WriteOwner);
}
#else
void clearReadOnly(const QString &)
{
}
#endif

bool isZero(const char *data, qint64 size)
{
    static const std::array<char, BlockSize> zeros{};
    return std::memcmp(data, zeros.data(), static_cast<size_t>(size)) == 0;
}

bool stopped(const std::atomic<bool> *stop)
{
    return stop && stop->load();
}

// Writes the source into the open temporary file, leaving holes for blocks of zeros.
bool copyContent(QFile &in, QTemporaryFile &out, const std::atomic<bool> *stop)
{
    QByteArray block(BlockSize, Qt::Uninitialized);
    qint64 position = 0;
    for (;;) {
        if (stopped(stop))
            return false;
        const qint64 count = in.read(block.data(), BlockSize);
        if (count < 0)
            return false;
        if (count == 0)
            break;
        if (isZero(block.constData(), count)) {
            if (!out.seek(position + count))
                return false;
        } else if (out.write(block.constData(), count) != count) {
            return false;
        }
        position += count;
    }
    // A file ending in zeros ends in a hole: the size has to be set.
    return out.resize(position) && out.flush();
}

bool syncToDisk(QFile &file)
{
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return file.flush();
#endif
}

// Renames from onto to, replacing a file there in one step.
std::error_code replace(const QString &from, const QString &to)
{
    clearReadOnly(to);
    std::error_code error;
    std::filesystem::rename(fsPath(from), fsPath(to), error);
    return error;
}

} // namespace

bool copyFile(const QString &from, const QString &to, const std::atomic<bool> *stop)
{
    if (to.isEmpty())
        return false;
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    // A short name: the target's name plus a suffix could pass the file
    // system's limit where the target itself does not.
    QTemporaryFile out(folderPart(to) + QStringLiteral(".zentavo-XXXXXX"));
    if (!out.open())
        return false;
    if (!copyContent(in, out, stop))
        return false;
    out.setPermissions(in.permissions());
    if (!out.setFileTime(in.fileTime(QFileDevice::FileModificationTime), QFileDevice::FileModificationTime))
        return false;
    if (!syncToDisk(out))
        return false;
    out.close();
    if (replace(out.fileName(), to))
        return false;
    out.setAutoRemove(false);
    return true;
}

bool moveFile(const QString &from, const QString &to)
{
    if (from.isEmpty() || to.isEmpty())
        return false;
    const std::error_code error = replace(from, to);
    if (!error)
        return true;
    return error == std::errc::cross_device_link && copyFile(from, to) && removeFile(from);
}

bool removeFile(const QString &path)
{
    clearReadOnly(path);
    return QFile::remove(path);
}

bool isSameFile(const QString &a, const QString &b)
{
    std::error_code error;
    return std::filesystem::equivalent(fsPath(a), fsPath(b), error) && !error;
}

} // namespace platform
