#include "ZADirManager.h"

#include "zip/ZAByteOrder.h"
#include "zip/ZACentralHeader.h"
#include "zip/ZAEntryCheck.h"
#include "zip/ZAExcept.h"
#include "zip/ZAStreamIO.h"

#include <algorithm>
#include <vector>

using namespace zarecords;

namespace {

constexpr qint64 EndRecordSearchSize = 65600;
// A directory written in pieces of this size keeps memory flat for
// archives with very many entries.
constexpr qsizetype DirectoryChunk = 1 << 20;

// Whether length bytes from start end at limit or before; no sum is formed
// that could wrap.
bool endsWithin(uint64_t start, uint64_t length, uint64_t limit)
{
    return start <= limit && length <= limit - start;
}

} // namespace

TZADirManager::TZADirManager(TZAStream &stream, const Settings &settings)
    : BaseOffset(stream.PrefixSize())
    , DirectoryStart(BaseOffset)
    , m_stream(&stream)
    , m_settings(settings)
{
    m_endRecord.signature = m_settings.signatures.endOfDirectory;
}

qint64 TZADirManager::FindEndRecord()
{
    Comment.clear();
    const qint64 size = m_stream->size();
    const qint64 start = std::max<qint64>(0, size - EndRecordSearchSize);
    const QByteArray tail = zastream::readAt(*m_stream, start, size - start);
    const uint32_t wanted = m_settings.signatures.endOfDirectory;
    for (qsizetype i = tail.size() - EndRecordSize; i >= 0; --i) {
        if (zabytes::get<uint32_t>(tail.constData() + i) != wanted
            && zabytes::get<uint32_t>(tail.constData() + i) != StandardSignatures.endOfDirectory)
            continue;
        EndRecord record;
        record.decode(tail.mid(i, EndRecordSize));
        // The comment must reach exactly to the end of the file.
        if (record.commentLength != tail.size() - i - EndRecordSize)
            continue;
        m_endRecord = record;
        Comment = tail.mid(i + EndRecordSize);
        return start + i;
    }
    return -1;
}

bool TZADirManager::HasEndRecord()
{
    return m_settings.repairOnOpen || FindEndRecord() >= 0;
}

void TZADirManager::ReadCentralDir()
{
    Items.Clear();
    BaseOffset = 0;
    HasZip64 = false;
    Repaired = false;
    DroppedEntries = 0;
    FirstGap = -1;
    const qint64 endPos = FindEndRecord();
    if (endPos < 0 || !readDirectoryAt(endPos)) {
        // The local headers of a set cannot be walked to rebuild it.
        if (m_stream->IsMultiVolume())
            throw EZAException(zaconst::neDamagedVolumes);
        repair();
    }
}

bool TZADirManager::readDirectoryAt(qint64 endPos)
{
    qint64 precedingPos = endPos;
    uint64_t directorySize = m_endRecord.directorySize;
    uint64_t storedOffset = m_endRecord.directoryOffset;
    uint64_t count = m_endRecord.totalEntries;

    if (endPos >= Zip64LocatorSize) {
        Zip64Locator locator;
        if (locator.decode(zastream::readAt(*m_stream, endPos - Zip64LocatorSize, Zip64LocatorSize))
            && locator.signature == Zip64LocatorSignature) {
            HasZip64 = true;
            // The Zip64 end record lies just before the locator; the stored
            // offset is relative to the archive proper, which a stub shifts.
            Zip64EndRecord record;
            qint64 recordPos = endPos - Zip64LocatorSize - Zip64EndRecordSize;
            if (recordPos < 0 || !record.decode(zastream::readAt(*m_stream, recordPos, Zip64EndRecordSize))
                || record.signature != Zip64EndSignature) {
                recordPos = qint64(locator.zip64EndOffset);
                if (!record.decode(zastream::readAt(*m_stream, recordPos, Zip64EndRecordSize))
                    || record.signature != Zip64EndSignature)
                    throw EZAException(zaconst::neNoZip64EndRecord);
            }
            precedingPos = recordPos;
            directorySize = record.directorySize;
            storedOffset = record.directoryOffset;
            count = record.totalEntries;
        }
    }
    if (!HasZip64 && m_endRecord.totalEntries == Overflow16)
        return false;
    if (directorySize > uint64_t(precedingPos))
        return damaged();

    const qint64 directoryPos = precedingPos - qint64(directorySize);
    // A damaged count must not make us reserve more than the directory holds.
    count = std::min<uint64_t>(count, directorySize / CentralHeaderSize);
    const QByteArray directory = zastream::readAt(*m_stream, directoryPos, qint64(directorySize));
    if (directory.size() != qint64(directorySize))
        return damaged();

    qsizetype offset = 0;
    const uint64_t fileSize = uint64_t(m_stream->size());
    uint64_t compressedTotal = 0;
    bool sizesFit = true;
    for (uint64_t i = 0; i < count; ++i) {
        TDirItem item;
        const qsizetype taken
            = zacentral::decode(directory, offset, m_settings.signatures.centralHeader, m_settings.oemNames, item);
        if (taken == 0)
            return damaged();
        offset += taken;
        // Zip64 sizes reach 2^64: a sum of them could wrap back below the
        // file's size.
        sizesFit = sizesFit && endsWithin(compressedTotal, item.CompressedSize, fileSize);
        if (sizesFit)
            compressedTotal += item.CompressedSize;
        Items.Append(item);
    }
    if (!m_settings.repairOnOpen && !sizesFit)
        throw EZAException(zaconst::neDamagedDirectory);

    DirectoryStart = directoryPos;
    if (m_stream->IsMultiVolume()) {
        // Offsets of a set count from the start of each entry's volume.
        for (qsizetype i = 0; i < Items.Count(); ++i) {
            TDirItem &item = Items.ItemPtr(i);
            const qint64 pos = m_stream->StreamPosition(item.DiskNumberStart, qint64(item.LocalHeaderOffset));
            if (pos < 0)
                throw EZAException(zaconst::neDamagedVolumes);
            item.LocalHeaderOffset = uint64_t(pos);
        }
    } else if (const qint64 delta = directoryPos - qint64(storedOffset); delta > 0) {
        // Offsets written relative to the archive proper become file positions.
        shiftOffsets(delta);
    }
    // A directory that points at damaged local headers is no better than
    // none: the entries are found again from the headers that are sound.
    // So is one whose entry runs on past the directory (or the end of the
    // file): the tools refuse it whatever the repair is allowed to do.
    for (qsizetype i = 0; i < Items.Count(); ++i) {
        const TDirItem &item = Items.GetItem(i);
        if (item.LocalHeaderOffset >= fileSize)
            return damaged();
        const qint64 offset = qint64(item.LocalHeaderOffset);
        LocalHeader header;
        if (!zaentry::LocalHeaderMatches(*m_stream, offset, m_settings.signatures.localHeader, item, &header))
            return damaged();
        // A size near 2^64 (a data descriptor spares it the check against
        // the local header) would wrap an end computed as a sum.
        const uint64_t limit = offset < directoryPos ? uint64_t(directoryPos) : fileSize;
        const uint64_t headerEnd = uint64_t(offset) + LocalHeaderSize + header.nameLength + header.extraLength;
        if (!endsWithin(headerEnd, item.CompressedSize, limit))
            return damaged();
    }
    BaseOffset = Items.Count() > 0 ? qint64(Items.GetItem(0).LocalHeaderOffset) : directoryPos;
    return true;
}

// A directory that cannot be read is rebuilt when repairs are allowed, and
// refuses the archive otherwise.
bool TZADirManager::damaged() const
{
    if (!m_settings.repairOnOpen)
        throw EZAException(zaconst::neDamagedDirectory);
    return false;
}

void TZADirManager::shiftOffsets(qint64 delta)
{
    for (qsizetype i = 0; i < Items.Count(); ++i)
        Items.ItemPtr(i).LocalHeaderOffset += uint64_t(delta);
}

void TZADirManager::WriteCentralDir(bool atCurrentPosition)
{
    if (!atCurrentPosition)
        zastream::truncate(*m_stream, DirectoryStart);
    const bool volumes = m_stream->IsMultiVolume();
    const uint64_t count = uint64_t(Items.Count());
    const QByteArray comment = Comment.left(MaxCommentSize);
    DirectoryStart = m_stream->pos();

    // In a set of volumes each record stays whole on one volume, and the
    // offsets are those within the volume that holds the local header.
    QByteArray chunk;
    std::vector<qint64> headerPositions;
    for (qsizetype i = 0; i < Items.Count(); ++i) {
        TDirItem item = Items.GetItem(i);
        const auto [disk, offset] = m_stream->VolumePosition(qint64(item.LocalHeaderOffset));
        item.DiskNumberStart = disk;
        item.LocalHeaderOffset = uint64_t(offset);
        const QByteArray header = zacentral::encode(item, m_settings.signatures.centralHeader);
        if (volumes) {
            m_stream->KeepTogether(header.size());
            headerPositions.push_back(m_stream->pos());
            zastream::writeChecked(*m_stream, header);
            continue;
        }
        chunk += header;
        if (chunk.size() >= DirectoryChunk) {
            zastream::writeChecked(*m_stream, chunk);
            chunk.clear();
        }
    }
    zastream::writeChecked(*m_stream, chunk);
    // The first header may have moved on to the next volume.
    if (!headerPositions.empty())
        DirectoryStart = headerPositions.front();

    const bool needsZip64 = uint64_t(m_stream->pos()) >= Overflow32 || count >= Overflow16;
    const qint64 tailSize = (needsZip64 ? Zip64EndRecordSize + Zip64LocatorSize : 0) + EndRecordSize + comment.size();
    m_stream->KeepTogether(tailSize);
    const qint64 directoryEnd = m_stream->pos();
    const uint64_t directorySize = uint64_t(directoryEnd - DirectoryStart);
    const auto [lastDisk, endOffset] = m_stream->VolumePosition(directoryEnd);
    const auto [directoryDisk, directoryOffset] = m_stream->VolumePosition(DirectoryStart);
    uint64_t onLastDisk = volumes ? 0 : count;
    for (const qint64 pos : headerPositions) {
        if (m_stream->VolumePosition(pos).first == lastDisk)
            ++onLastDisk;
    }

    EndRecord end;
    end.signature = m_settings.signatures.endOfDirectory;
    end.thisDisk = lastDisk >= Overflow16 ? Overflow16 : uint16_t(lastDisk);
    end.directoryDisk = directoryDisk >= Overflow16 ? Overflow16 : uint16_t(directoryDisk);
    end.entriesOnDisk = onLastDisk >= Overflow16 ? Overflow16 : uint16_t(onLastDisk);
    end.totalEntries = count >= Overflow16 ? Overflow16 : uint16_t(count);
    end.directorySize = directorySize >= Overflow32 ? Overflow32 : uint32_t(directorySize);
    end.directoryOffset = uint64_t(directoryOffset) >= Overflow32 ? Overflow32 : uint32_t(directoryOffset);
    end.commentLength = uint16_t(comment.size());

    if (needsZip64 || lastDisk >= Overflow16) {
        Zip64EndRecord record;
        record.thisDisk = lastDisk;
        record.directoryDisk = directoryDisk;
        record.entriesOnDisk = onLastDisk;
        record.totalEntries = count;
        record.directorySize = directorySize;
        record.directoryOffset = uint64_t(directoryOffset);
        Zip64Locator locator;
        locator.zip64EndDisk = lastDisk;
        locator.zip64EndOffset = uint64_t(endOffset);
        locator.totalDisks = lastDisk + 1;
        zastream::writeChecked(*m_stream, record.encode() + locator.encode());
        HasZip64 = true;
    }
    zastream::writeChecked(*m_stream, end.encode() + comment);
    m_endRecord = end;
    // The set is complete: its last volume takes the archive's own name.
    m_stream->Finish();
}
