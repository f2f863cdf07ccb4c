#include "ZADirManager.h"

#include "ZAByteOrder.h"
#include "ZACentralHeader.h"
#include "ZAExcept.h"
#include "ZAStreamIO.h"

#include <algorithm>

using namespace zarecords;

namespace {

constexpr qint64 EndRecordSearchSize = 65600;
// A directory written in pieces of this size keeps memory flat for
// archives with very many entries.
constexpr qsizetype DirectoryChunk = 1 << 20;

} // namespace

TZADirManager::TZADirManager(QIODevice &stream, const Settings &settings, qint64 baseOffset)
    : BaseOffset(baseOffset), DirectoryStart(baseOffset), m_stream(&stream), m_settings(settings)
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
    const qint64 endPos = FindEndRecord();
    if (endPos < 0 || !readDirectoryAt(endPos))
        repair();
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
            if (recordPos < 0
                || !record.decode(zastream::readAt(*m_stream, recordPos, Zip64EndRecordSize))
                || record.signature != Zip64EndSignature) {
                recordPos = qint64(locator.zip64EndOffset);
                if (!record.decode(zastream::readAt(*m_stream, recordPos, Zip64EndRecordSize))
                    || record.signature != Zip64EndSignature)
                    throw EZAException(40);
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
        return false;

    const qint64 directoryPos = precedingPos - qint64(directorySize);
    // A damaged count must not make us reserve more than the directory holds.
    count = std::min<uint64_t>(count, directorySize / CentralHeaderSize);
    const QByteArray directory = zastream::readAt(*m_stream, directoryPos, qint64(directorySize));
    if (directory.size() != qint64(directorySize))
        return false;

    qsizetype offset = 0;
    uint64_t compressedTotal = 0;
    for (uint64_t i = 0; i < count; ++i) {
        TDirItem item;
        const qsizetype taken = zacentral::decode(directory, offset, m_settings.signatures.centralHeader,
                                                  m_settings.oemNames, item);
        if (taken == 0) {
            if (m_settings.repairOnOpen)
                return false;
            throw EZAException(57);
        }
        offset += taken;
        compressedTotal += item.CompressedSize;
        Items.Append(item);
    }
    if (!m_settings.repairOnOpen && compressedTotal > uint64_t(m_stream->size()))
        throw EZAException(57);

    DirectoryStart = directoryPos;
    // Offsets written relative to the archive proper become file positions.
    const qint64 delta = directoryPos - qint64(storedOffset);
    if (delta > 0)
        shiftOffsets(delta);
    BaseOffset = Items.Count() > 0 ? qint64(Items.GetItem(0).LocalHeaderOffset) : directoryPos;
    return true;
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
    DirectoryStart = m_stream->pos();

    QByteArray chunk;
    for (qsizetype i = 0; i < Items.Count(); ++i) {
        chunk += zacentral::encode(Items.GetItem(i), m_settings.signatures.centralHeader);
        if (chunk.size() >= DirectoryChunk) {
            zastream::writeChecked(*m_stream, chunk);
            chunk.clear();
        }
    }
    zastream::writeChecked(*m_stream, chunk);

    const qint64 directoryEnd = m_stream->pos();
    const uint64_t directorySize = uint64_t(directoryEnd - DirectoryStart);
    const uint64_t count = uint64_t(Items.Count());
    const QByteArray comment = Comment.left(MaxCommentSize);

    EndRecord end;
    end.signature = m_settings.signatures.endOfDirectory;
    end.entriesOnDisk = end.totalEntries = count >= Overflow16 ? Overflow16 : uint16_t(count);
    end.directorySize = directorySize >= Overflow32 ? Overflow32 : uint32_t(directorySize);
    end.directoryOffset = uint64_t(DirectoryStart) >= Overflow32 ? Overflow32 : uint32_t(DirectoryStart);
    end.commentLength = uint16_t(comment.size());

    if (uint64_t(directoryEnd) >= Overflow32 || count >= Overflow16) {
        Zip64EndRecord record;
        record.entriesOnDisk = record.totalEntries = count;
        record.directorySize = directorySize;
        record.directoryOffset = uint64_t(DirectoryStart);
        Zip64Locator locator;
        locator.zip64EndOffset = uint64_t(directoryEnd);
        zastream::writeChecked(*m_stream, record.encode() + locator.encode());
        HasZip64 = true;
    }
    zastream::writeChecked(*m_stream, end.encode() + comment);
    m_endRecord = end;
}
