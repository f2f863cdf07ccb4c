#include "ZAStream.h"

#include "zip/ZAExcept.h"
#include "zip/ZAStreamIO.h"

void TZAStream::KeepTogether(qint64)
{
}

bool TZAStream::IsMultiVolume() const
{
    return false;
}

std::pair<uint32_t, qint64> TZAStream::VolumePosition(qint64 pos) const
{
    return {0, pos};
}

qint64 TZAStream::StreamPosition(uint32_t disk, qint64 offset) const
{
    return disk == 0 ? offset : -1;
}

void TZAStream::Finish()
{
}

qint64 TZAStream::PrefixSize() const
{
    return 0;
}

void TZAStream::MarkLayout()
{
}

void TZAStream::RestoreFrom(qint64 position, QIODevice &saved)
{
    zastream::truncate(*this, position);
    zastream::seekChecked(saved, 0);
    zastream::CopyTempFileToDest(saved, *this, saved.size());
}

std::exception_ptr TZAStream::TakeFailure()
{
    return std::exchange(m_failure, nullptr);
}

void TZAStream::PassFailureUp(TZAStream &below)
{
    if (std::exception_ptr failure = below.TakeFailure())
        m_failure = failure;
}

TZAStreamLayer::TZAStreamLayer(std::unique_ptr<QIODevice> below) : m_below(std::move(below))
{
    QIODevice::open((m_below->openMode() & QIODevice::ReadWrite) | QIODevice::Unbuffered);
}

TZAStreamLayer::~TZAStreamLayer()
{
    TZAStreamLayer::close();
}

void TZAStreamLayer::close()
{
    if (m_below)
        m_below->close();
    QIODevice::close();
}

qint64 TZAStreamLayer::size() const
{
    return m_below->size();
}

bool TZAStreamLayer::seek(qint64 pos)
{
    // A file's seek writes out what it buffered, and may fail as a write.
    if (!m_below->seek(pos)) {
        KeepReason(*m_below);
        return false;
    }
    return QIODevice::seek(pos);
}

// Moving the lower device only when it is elsewhere keeps a file's write
// buffer from being flushed before every write.
bool TZAStreamLayer::placeBelow()
{
    return m_below->pos() == pos() || m_below->seek(pos());
}

qint64 TZAStreamLayer::readData(char *data, qint64 maxSize)
{
    return placeBelow() ? m_below->read(data, maxSize) : -1;
}

qint64 TZAStreamLayer::writeData(const char *data, qint64 maxSize)
{
    const qint64 written = placeBelow() ? m_below->write(data, maxSize) : -1;
    if (written < maxSize)
        KeepReason(*m_below);
    return written;
}

bool TZADeviceStream::Resize(qint64 size)
{
    if (zastream::resize(Below(), size))
        return true;
    KeepReason(Below());
    return false;
}

bool TZADeviceStream::SyncToDisk()
{
    return zastream::syncToDisk(Below());
}

namespace zastream {

namespace {

// Not one file's failure but the archive's: the run gives up on the first.
[[noreturn]] void archiveRefused(const TZAStream &stream)
{
    throw EZAException(zaconst::neDiskFull, {}, {stream.ShownName(), stream.errorString()});
}

} // namespace

void writeChecked(TZAStream &stream, const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 written = stream.write(data + done, size - done);
        if (written < size - done) {
            if (const std::exception_ptr failure = stream.TakeFailure())
                std::rethrow_exception(failure);
        }
        if (written <= 0)
            archiveRefused(stream);
        done += written;
    }
}

void seekChecked(TZAStream &stream, qint64 pos)
{
    if (!stream.seek(pos))
        archiveRefused(stream);
}

void truncate(TZAStream &stream, qint64 size)
{
    if (!stream.Resize(size))
        archiveRefused(stream);
    seekChecked(stream, size);
}

qint64 CopyTempFileToDest(QIODevice &source, TZAStream &target, qint64 count,
                          const std::function<bool(qint64, qint64)> &progress)
{
    return copyBlocks(
        source, count, [&](const char *data, qint64 size) { writeChecked(target, data, size); }, progress);
}

} // namespace zastream
