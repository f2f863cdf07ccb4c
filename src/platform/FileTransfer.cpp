#include "FileTransfer.h"

#include "platform/FileNames.h"
#include "platform/Paths.h"
#include "platform/SafeSave.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform {

namespace {

constexpr qint64 BlockSize = 1 << 20;

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

// Copies the bytes [begin, end) of the source to the same place in the
// temporary file, leaving holes for blocks of zeros.
bool copyRange(QFile &in, QFile &out, qint64 begin, qint64 end, QByteArray &block, const std::atomic<bool> *stop)
{
    if (!in.seek(begin))
        return false;
    for (qint64 position = begin; position < end;) {
        if (stopped(stop))
            return false;
        const qint64 count = in.read(block.data(), std::min<qint64>(block.size(), end - position));
        if (count <= 0)
            return false;
        if (!isZero(block.constData(), count) && (!out.seek(position) || out.write(block.constData(), count) != count))
            return false;
        position += count;
    }
    return true;
}

// Copies the data of the source into the open temporary file. Where the
// system tells where a sparse file holds data, its holes are skipped
// without reading them.
bool copyData(const QString &from, QFile &in, QFile &out, qint64 size, const std::atomic<bool> *stop)
{
    QByteArray block(BlockSize, Qt::Uninitialized);
#ifdef SEEK_DATA
    // Asked on a second handle, so that the copy's own reading position is left alone.
    QFile probe;
    if (openFile(probe, from, QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        const int fd = probe.handle();
        for (qint64 position = 0; position < size;) {
            const off_t data = ::lseek(fd, position, SEEK_DATA);
            if (data < 0)
                return errno == ENXIO || copyRange(in, out, position, size, block, stop); // ENXIO: only a hole is left
            const off_t hole = ::lseek(fd, data, SEEK_HOLE);
            const qint64 dataEnd = hole < 0 ? size : std::min<qint64>(hole, size);
            if (!copyRange(in, out, data, dataEnd, block, stop))
                return false;
            position = dataEnd;
        }
        return true;
    }
#endif
    return copyRange(in, out, 0, size, block, stop);
}

bool copyContent(const QString &from, QFile &in, QFile &out, const std::atomic<bool> *stop)
{
    const qint64 size = in.size();
    // A file ending in zeros ends in a hole: the size has to be set.
    return copyData(from, in, out, size, stop) && out.resize(size);
}

// Why a file did not open: a name of raw bytes is opened by the system
// itself, which leaves the reason in errno rather than in the file.
QString openError(const QFile &file)
{
    return file.error() != QFileDevice::NoError ? file.errorString() : QString::fromLocal8Bit(std::strerror(errno));
}

// A file onto itself is no copy and no move, whatever the spelling of the
// two names: a caller that then deletes or misses the original loses it.
const QString SameFile = QStringLiteral("The source and the destination are the same file");

// Leaves the reason where the caller asked for it; always false.
bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

bool fail(QString *error, const std::error_code &code)
{
    return fail(error, QString::fromLocal8Bit(code.message()));
}

// Renames from onto to, replacing a file there in one step.
std::error_code replace(const QString &from, const QString &to)
{
    clearReadOnly(to);
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    return error;
}

} // namespace

bool copyFile(const QString &from, const QString &to, const std::atomic<bool> *stop, QString *error)
{
    if (to.isEmpty())
        return fail(error, QStringLiteral("No target name"));
    if (isSameFile(from, to))
        return fail(error, SameFile);
    QFile in;
    if (!openFile(in, from, QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(error, openError(in));
    SafeSave save(to);
    if (!save.open())
        return fail(error, save.errorString());
    QFile &out = save.device();
    if (!copyContent(from, in, out, stop)) {
        if (stopped(stop))
            return fail(error, QStringLiteral("The copy was stopped"));
        if (in.error() != QFileDevice::NoError)
            return fail(error, in.errorString());
        if (out.error() != QFileDevice::NoError)
            return fail(error, out.errorString());
        // Neither failed: the source ended before the size it had when the copy began.
        return fail(error, QStringLiteral("The source file became shorter while it was copied"));
    }
    out.setPermissions(in.permissions());
    if (!out.setFileTime(in.fileTime(QFileDevice::FileModificationTime), QFileDevice::FileModificationTime))
        return fail(error, out.errorString());
    clearReadOnly(to);
    return save.commit() || fail(error, save.errorString());
}

bool moveFile(const QString &from, const QString &to, QString *error)
{
    if (from.isEmpty() || to.isEmpty())
        return fail(error, QStringLiteral("No file name"));
    // The system renames a file onto another name of itself by doing
    // nothing, and calls that a success.
    if (isSameFile(from, to))
        return fail(error, SameFile);
    const std::error_code renamed = replace(from, to);
    if (!renamed)
        return true;
    if (renamed != std::errc::cross_device_link)
        return fail(error, renamed);
    return copyFile(from, to, nullptr, error) && removeFile(from, error);
}

bool removeFile(const QString &path, QString *error)
{
    clearReadOnly(path);
    const std::filesystem::path name = nativePath(path);
    std::error_code code;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(name, code)))
        code = std::make_error_code(std::errc::is_a_directory);
    else if (!std::filesystem::remove(name, code) && !code)
        code = std::make_error_code(std::errc::no_such_file_or_directory);
    return !code || fail(error, code);
}

bool isSameFile(const QString &a, const QString &b)
{
    std::error_code error;
    return std::filesystem::equivalent(nativePath(a), nativePath(b), error) && !error;
}

} // namespace platform
