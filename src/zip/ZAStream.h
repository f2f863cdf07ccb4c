#pragma once

#include <QByteArray>
#include <QIODevice>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <utility>

// The archive's stream: one file or a memory buffer at the bottom, layers
// stacked on it (split volumes, a self-extractor stub in front). Positions
// are those of the whole stream. The archive code reads and writes through
// this interface only and never asks which layers lie below.
class TZAStream : public QIODevice {
    Q_OBJECT

public:
    // Cuts the stream at size; false when it cannot.
    virtual bool Resize(qint64 size) = 0;
    // Pushes what was written to the disk; false when the system fails.
    virtual bool SyncToDisk() = 0;

    // The next count bytes written at the end go onto one volume.
    virtual void KeepTogether(qint64 count);
    virtual bool IsMultiVolume() const;
    // The volume (0 for a single file) that holds position pos, and the
    // offset within that volume.
    virtual std::pair<uint32_t, qint64> VolumePosition(qint64 pos) const;
    // The position of offset within volume disk; -1 when there is no such
    // volume.
    virtual qint64 StreamPosition(uint32_t disk, qint64 offset) const;
    // A finished set of volumes gives its last volume the archive's name.
    virtual void Finish();
    // Where the archive proper begins: after a self-extractor stub.
    virtual qint64 PrefixSize() const;
    // Remembers how the stream lies now (its volumes, their names and
    // sizes), for RestoreFrom.
    virtual void MarkLayout();
    // Puts back the stream as it was at MarkLayout, given the bytes it held
    // from position on (the whole of saved): cut at position, saved copied
    // after it. Raises neWriteFailed when it cannot.
    virtual void RestoreFrom(qint64 position, QIODevice &saved);

    // A failure met inside a write (a cancelled volume request, a record
    // too large for any volume), kept because a write cannot raise it; the
    // checked writes raise it again with its own code.
    std::exception_ptr TakeFailure();

    // The archive as its user knows it: a write that the system refuses
    // fails the archive under this name, with the system's reason.
    void SetShownName(const QString &name) { m_shownName = name; }
    const QString &ShownName() const { return m_shownName; }

    bool isSequential() const override { return false; }

protected:
    void KeepFailure() { m_failure = std::current_exception(); }
    void PassFailureUp(TZAStream &below);
    // Takes the system's reason for the last failure of device.
    void KeepReason(const QIODevice &device) { setErrorString(device.errorString()); }

private:
    std::exception_ptr m_failure;
    QString m_shownName;
};

// A layer on a lower device: reads, writes and seeks pass through at the
// same positions.
class TZAStreamLayer : public TZAStream {
    Q_OBJECT

public:
    ~TZAStreamLayer() override;

    qint64 size() const override;
    bool seek(qint64 pos) override;
    void close() override;

protected:
    // Takes below, which is open, and opens itself in the same mode.
    explicit TZAStreamLayer(std::unique_ptr<QIODevice> below);
    QIODevice &Below() const { return *m_below; }

    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    bool placeBelow();

    std::unique_ptr<QIODevice> m_below;
};

// The bottom of the stack: one file or a memory buffer.
class TZADeviceStream : public TZAStreamLayer {
    Q_OBJECT

public:
    explicit TZADeviceStream(std::unique_ptr<QIODevice> device) : TZAStreamLayer(std::move(device)) {}

    bool Resize(qint64 size) override;
    bool SyncToDisk() override;
};

// The checked operations of ZAStreamIO.h for the archive's stream: the same
// names, so one call reads alike for a plain device and for a stack of
// layers, and a failure kept by a layer keeps its own code.
namespace zastream {

// A write, seek or cut the system refused raises neDiskFull, which names
// the archive and gives the system's reason.
void writeChecked(TZAStream &stream, const char *data, qint64 size);
inline void writeChecked(TZAStream &stream, const QByteArray &bytes)
{
    writeChecked(stream, bytes.constData(), bytes.size());
}
void seekChecked(TZAStream &stream, qint64 pos);
// Cuts the stream at size and moves there.
void truncate(TZAStream &stream, qint64 size);
inline bool syncToDisk(TZAStream &stream)
{
    return stream.SyncToDisk();
}
qint64 CopyTempFileToDest(QIODevice &source, TZAStream &target, qint64 count,
                          const std::function<bool(qint64 done, qint64 total)> &progress = {});

} // namespace zastream
