#pragma once

#include "zip/ZAStream.h"

#include <QIODevice>
#include <QString>

#include <memory>
#include <vector>

// What a split stream needs from its owner: new blank volumes, the names
// of the volumes, and the files themselves.
class TZAVolumeHost {
public:
    struct BlankVolume {
        QString name;
        // Bytes the volume may take: its size limit or the free space of
        // its drive, whichever is smaller.
        qint64 capacity = 0;
    };

    virtual ~TZAVolumeHost() = default;
    // Asks for blank volume index (0-based); raises neVolumeRequestCancelled on a cancel.
    virtual BlankVolume RequestBlankVolume(int index) = 0;
    // The name volume index has while more volumes follow it.
    virtual QString VolumeName(int index) const = 0;
    // The name the last volume of a finished set has.
    virtual QString LastVolumeName() const = 0;
    // Opens a volume file; null when it cannot be opened.
    virtual std::unique_ptr<QIODevice> OpenVolume(const QString &name, QIODevice::OpenMode mode);
    virtual bool RenameVolume(const QString &from, const QString &to);
    virtual void RemoveVolume(const QString &name);
};

// The volumes of a split set seen as one stream: positions run on from one
// volume into the next. Writing at the end fills the current volume up to
// its capacity and then asks the host for the next one; bytes already
// written may be rewritten in place, in whichever volume they lie.
//
// Failures inside a write (a cancelled volume request, a full disk) are
// kept and raised again by the checked writes, so that they keep their
// native codes.
class TZASplitStream : public TZAStream {
    Q_OBJECT

public:
    explicit TZASplitStream(TZAVolumeHost &host);
    ~TZASplitStream() override;

    // A new set: asks for the first blank volume.
    void StartNew();
    // An existing set, its volumes in order; writing goes on in the last
    // one up to lastCapacity bytes. Raises neCannotOpenFile when one cannot be
    // opened.
    void OpenExisting(const QStringList &names, bool writable, qint64 lastCapacity);

    // When the current volume has no room for count bytes the set moves to
    // the next one. Raises neWriteFailed when they cannot fit even into a
    // fresh empty volume.
    void KeepTogether(qint64 count) override;
    // Cuts the set at size, deleting the volumes wholly behind it.
    bool Resize(qint64 size) override;
    // Syncs the current volume; the earlier ones were synced when full.
    bool SyncToDisk() override;
    // Gives the current (last) volume the last volume's name.
    void Finish() override;
    // Each volume gets back its old name and its old bytes, and the
    // volumes made since are removed: a set whose rewrite failed is byte
    // for byte the set it was.
    void MarkLayout() override;
    void RestoreFrom(qint64 position, QIODevice &saved) override;
    bool IsMultiVolume() const override { return true; }

    int CurrentVolume() const { return int(m_volumes.size()) - 1; }
    std::pair<uint32_t, qint64> VolumePosition(qint64 pos) const override;
    qint64 StreamPosition(uint32_t disk, qint64 offset) const override;
    qint64 size() const override;
    bool seek(qint64 pos) override;
    void close() override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    struct Volume {
        QString name;
        qint64 start = 0;
        qint64 size = 0;
        qint64 capacity = 0;
    };

    int volumeAt(qint64 pos) const;
    QIODevice *deviceFor(int index, bool write);
    void appendVolume(const TZAVolumeHost::BlankVolume &blank);
    void nextVolume();
    qint64 roomAtEnd() const;

    TZAVolumeHost &m_host;
    std::vector<Volume> m_volumes;
    std::vector<Volume> m_marked;
    // The last volume, kept open; an earlier one is opened when touched.
    std::unique_ptr<QIODevice> m_current;
    std::unique_ptr<QIODevice> m_other;
    int m_otherIndex = -1;
    bool m_otherWritable = false;
};
