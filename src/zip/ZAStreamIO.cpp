#include "ZAStreamIO.h"

#include "platform/SafeSave.h"
#include "zip/ZAByteOrder.h"
#include "zip/ZAExcept.h"

#include <QBuffer>
#include <QFileDevice>

#include <algorithm>

namespace zastream {

namespace {
constexpr qint64 SearchWindow = 65535;
} // namespace

void writeChecked(QIODevice &device, const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 written = device.write(data + done, size - done);
        if (written <= 0)
            throw EZAException(zaconst::neWriteFailed);
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
        throw EZAException(zaconst::neWriteFailed);
}

bool resize(QIODevice &device, qint64 size)
{
    if (auto *file = qobject_cast<QFileDevice *>(&device))
        return file->flush() && file->resize(size);
    if (auto *buffer = qobject_cast<QBuffer *>(&device)) {
        buffer->buffer().resize(size);
        return true;
    }
    return false;
}

void truncate(QIODevice &device, qint64 size)
{
    if (!resize(device, size))
        throw EZAException(zaconst::neWriteFailed);
    seekChecked(device, size);
}

bool syncToDisk(QIODevice &device)
{
    auto *file = qobject_cast<QFileDevice *>(&device);
    return !file || platform::syncFile(*file);
}

qint64 CopyTempFileToDest(QIODevice &source, QIODevice &target, qint64 count,
                          const std::function<bool(qint64, qint64)> &progress)
{
    return copyBlocks(
        source, count, [&](const char *data, qint64 size) { writeChecked(target, data, size); }, progress);
}

qint64 copyBlocks(QIODevice &source, qint64 count, const std::function<void(const char *, qint64)> &write,
                  const std::function<bool(qint64, qint64)> &progress)
{
    const qint64 total = count < 0 ? std::max<qint64>(source.size() - source.pos(), 0) : count;
    QByteArray block(qsizetype(std::min(total, CopyBlockSize)), Qt::Uninitialized);
    qint64 done = 0;
    while (done < total) {
        const qint64 wanted = std::min(total - done, CopyBlockSize);
        const qint64 got = source.read(block.data(), wanted);
        if (got <= 0)
            throw EZAException(zaconst::neSourceSizeChanged, {}, {QString::number(total), QString::number(done)});
        write(block.constData(), got);
        done += got;
        if (progress && progress(done, total))
            break;
    }
    return done;
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
            if (zabytes::get<uint32_t>(window.constData() + i) == signature && size - (windowStart + i) >= minFollowing)
                return windowStart + i;
        }
        // Windows overlap so a signature across their border is not missed.
        windowStart += window.size() - 3;
    }
    return -1;
}

} // namespace zastream
