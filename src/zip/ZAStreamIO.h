#pragma once

#include <QByteArray>
#include <QIODevice>

#include <cstdint>
#include <functional>

// The archive is read and written through a QIODevice: a file, a memory
// buffer, or a device stacked on them (a volume splitter, an offset past a
// self-extractor stub). Nothing above this layer knows which one it is.
namespace zastream {

// Large copies and searches move data in blocks of this size, so memory
// stays flat whatever the size of the archive.
inline constexpr qint64 CopyBlockSize = 1000000;

// Writes all bytes or raises native 46 ("Write to stream error").
void writeChecked(QIODevice &device, const char *data, qint64 size);
inline void writeChecked(QIODevice &device, const QByteArray &bytes)
{
    writeChecked(device, bytes.constData(), bytes.size());
}

// Up to size bytes from position pos (fewer at the end of the device).
QByteArray readAt(QIODevice &device, qint64 pos, qint64 size);

// Seeks or raises native 46.
void seekChecked(QIODevice &device, qint64 pos);

// Cuts the device at size; raises native 46 when it cannot.
void truncate(QIODevice &device, qint64 size);

// Pushes written data to the disk (a no-op for memory devices); false when
// the system reports a failure.
bool syncToDisk(QIODevice &device);

// Copies count bytes from the current position of source to the current
// position of target in blocks; raises native 46 on a short write and 34
// when source ends early. progress (may be empty) gets the bytes copied so
// far after each block and answers true to stop.
void copyBytes(QIODevice &source, QIODevice &target, qint64 count,
               const std::function<bool(qint64)> &progress = {});

// The position of the first 4-byte signature at or after from that has at
// least minFollowing bytes from its start to the end; -1 when none.
qint64 findForward(QIODevice &device, qint64 from, uint32_t signature, qint64 minFollowing);

} // namespace zastream
