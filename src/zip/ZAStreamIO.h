#pragma once

#include <QByteArray>
#include <QIODevice>

#include <cstdint>
#include <functional>

// Plain devices: files, memory buffers and the volume files below a split
// stream. The archive's own stream, with its layers, is a TZAStream
// (ZAStream.h), which has the same checked operations.
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

// Cuts a file or a memory buffer at size; false for any other device or
// when the system refuses.
bool resize(QIODevice &device, qint64 size);

// Cuts the device at size and moves there; raises neWriteFailed when it
// cannot.
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

// The copy above with the writing left to write, which gets each block.
qint64 copyBlocks(QIODevice &source, qint64 count, const std::function<void(const char *data, qint64 size)> &write,
                  const std::function<bool(qint64 done, qint64 total)> &progress);

// The position of the first 4-byte signature at or after from that has at
// least minFollowing bytes from its start to the end; -1 when none.
qint64 findForward(QIODevice &device, qint64 from, uint32_t signature, qint64 minFollowing);

} // namespace zastream
