#pragma once

#include "zip/ZAStream.h"

#include <QString>

// A self-extractor stub in front of a new archive: the layer copies the stub
// to the start of the stream below and tells where the archive proper
// begins. The entries' offsets still count from the start of the file, so
// the tools read it without a warning; everything else passes through.
class TZAStubStream : public TZAStreamLayer {
    Q_OBJECT

public:
    struct Stub {
        QString file;
        // The file the stub lands in (the archive, or its first volume),
        // made runnable for whoever may read it.
        QString target;
        // The first volume's size limit, -1 for none.
        qint64 limit = -1;
        // Put in front of the failures' texts.
        QString senderName;
    };

    // Raises neStubNotFound when the stub cannot be read and neStubTooLarge
    // when it is larger than the limit.
    TZAStubStream(std::unique_ptr<TZAStream> below, const Stub &stub);

    qint64 PrefixSize() const override { return m_stubSize; }

    bool Resize(qint64 size) override { return m_layer.Resize(size); }
    bool SyncToDisk() override { return m_layer.SyncToDisk(); }
    void KeepTogether(qint64 count) override { m_layer.KeepTogether(count); }
    bool IsMultiVolume() const override { return m_layer.IsMultiVolume(); }
    std::pair<uint32_t, qint64> VolumePosition(qint64 pos) const override { return m_layer.VolumePosition(pos); }
    qint64 StreamPosition(uint32_t disk, qint64 offset) const override { return m_layer.StreamPosition(disk, offset); }
    void Finish() override { m_layer.Finish(); }
    void MarkLayout() override { m_layer.MarkLayout(); }
    void RestoreFrom(qint64 position, QIODevice &saved) override { m_layer.RestoreFrom(position, saved); }

protected:
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    TZAStream &m_layer;
    qint64 m_stubSize = 0;
};
