#pragma once

#include <QByteArray>
#include <QIODevice>

#include <cstdint>
#include <functional>
#include <utility>

// The archive is read and written through a QIODevice: a file, a memory
// buffer, or a device stacked on them (a volume splitter, an offset past a
// self-extractor stub). Nothing above this layer knows which one it is.
namespace zastream {

// Large copies and searches move data in blocks of this size, so memory
// stays flat whatever the size of the archive.
inline constexpr qint64 CopyBlockSize = 1000000;

// Writes all bytes or raises neWriteFailed ("Write to stream error").
void writeChecked(QIODevice &device, const char *data, qint64 size);
inline void writeChecked(QIODevice &device, const QByteArray &bytes)
{
    writeChecked(device, bytes.constData(), bytes.size());
}

// Up to size bytes from position pos (fewer at the end of the device).
QByteArray readAt(QIODevice &device, qint64 pos, qint64 size);

// Seeks or raises neWriteFailed.
void seekChecked(QIODevice &device, qint64 pos);

// Cuts the device at size; raises neWriteFailed when it cannot.
void truncate(QIODevice &device, qint64 size);

// Pushes written data to the disk (a no-op for memory devices); false when
// the system reports a failure.
bool syncToDisk(QIODevice &device);

// Copies count bytes (-1: the rest of source) from the current position of
// source to the current position of target in blocks, each written with
// writeChecked, so a full disk fails with neWriteFailed instead of leaving
// a short copy; raises neSourceSizeChanged when source ends early. progress
// (may be empty) gets the bytes copied so far and the total after each block
// and answers true to stop. Answers the bytes copied.
qint64 CopyTempFileToDest(QIODevice &source, QIODevice &target, qint64 count,
                          const std::function<bool(qint64 done, qint64 total)> &progress = {});

// The next count bytes written at the end of device go onto one volume
// (nothing to do for a device that is not split into volumes).
void keepTogether(QIODevice &device, qint64 count);

bool isMultiVolume(QIODevice &device);

// The position in device of offset within volume disk; -1 when there is
// no such volume.
qint64 streamPosition(QIODevice &device, uint32_t disk, qint64 offset);

// A finished set of volumes gives its last volume the archive's name.
void finishVolumes(QIODevice &device);

// The volume (0 for a single file) that holds position pos of device, and
// the offset within that volume.
std::pair<uint32_t, qint64> volumePosition(QIODevice &device, qint64 pos);

// The position of the first 4-byte signature at or after from that has at
// least minFollowing bytes from its start to the end; -1 when none.
qint64 findForward(QIODevice &device, qint64 from, uint32_t signature, qint64 minFollowing);

} // namespace zastream
