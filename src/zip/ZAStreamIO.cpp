#include "ZAStreamIO.h"

#include "ZAByteOrder.h"
#include "ZAExcept.h"

#include <QBuffer>
#include <QFileDevice>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>

namespace zastream {

namespace {
constexpr int WriteFailed = 46;
constexpr int ShortSource = 34;
constexpr qint64 SearchWindow = 65535;
} // namespace

void writeChecked(QIODevice &device, const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 written = device.write(data + done, size - done);
        if (written <= 0)
            throw EZAException(WriteFailed);
        done += written;
    }
}

QByteArray readAt(QIODevice &device, qint64 pos, qint64 size)
{
    if (pos < 0 || !device.seek(pos))
        return {};
    return device.read(std::max<qint64>(size, 0));
}

void seekChecked(QIODevice &device, qint64 pos)
{
    if (!device.seek(pos))
        throw EZAException(WriteFailed);
}

void truncate(QIODevice &device, qint64 size)
{
    if (auto *file = qobject_cast<QFileDevice *>(&device)) {
        if (!file->flush() || !file->resize(size))
            throw EZAException(WriteFailed);
    } else if (auto *buffer = qobject_cast<QBuffer *>(&device)) {
        buffer->buffer().resize(size);
    } else {
        throw EZAException(WriteFailed);
    }
    seekChecked(device, size);
}

bool syncToDisk(QIODevice &device)
{
    auto *file = qobject_cast<QFileDevice *>(&device);
    if (!file)
        return true;
    if (!file->flush())
        return false;
#ifdef Q_OS_WIN
    return file->handle() < 0 || ::_commit(file->handle()) == 0;
#else
    return file->handle() < 0 || ::fsync(file->handle()) == 0;
#endif
}

void copyBytes(QIODevice &source, QIODevice &target, qint64 count,
               const std::function<bool(qint64)> &progress)
{
    QByteArray block(qsizetype(std::min(count, CopyBlockSize)), Qt::Uninitialized);
    qint64 done = 0;
    while (done < count) {
        const qint64 wanted = std::min(count - done, CopyBlockSize);
        const qint64 got = source.read(block.data(), wanted);
        if (got <= 0)
            throw EZAException(ShortSource, {}, {QString::number(count), QString::number(done)});
        writeChecked(target, block.constData(), got);
        done += got;
        if (progress && progress(done))
            return;
    }
}

qint64 findForward(QIODevice &device, qint64 from, uint32_t signature, qint64 minFollowing)
{
    const qint64 size = device.size();
    qint64 windowStart = std::max<qint64>(from, 0);
    while (windowStart + 4 <= size) {
        const QByteArray window = readAt(device, windowStart, SearchWindow);
        if (window.size() < 4)
            return -1;
        for (qsizetype i = 0; i + 4 <= window.size(); ++i) {
            if (zabytes::get<uint32_t>(window.constData() + i) == signature
                && size - (windowStart + i) >= minFollowing)
                return windowStart + i;
        }
        // Windows overlap so a signature across their border is not missed.
        windowStart += window.size() - 3;
    }
    return -1;
}

} // namespace zastream
