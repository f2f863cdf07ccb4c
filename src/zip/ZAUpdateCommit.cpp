#include "ZAUpdateCommit.h"

#include "platform/Paths.h"
#include "platform/SafeSave.h"
#include "zip/ZAByteOrder.h"
#include "zip/ZACentralHeader.h"
#include "zip/ZACommitContext.h"
#include "zip/ZACommitJournal.h"
#include "zip/ZACrypt.h"
#include "zip/ZADirManager.h"
#include "zip/ZAEntryCheck.h"
#include "zip/ZAExcept.h"
#include "zip/ZAReadAhead.h"
#include "zip/ZARecords.h"
#include "zip/ZAStreamIO.h"
#include "zip/ZATempFile.h"

#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <optional>

using namespace zarecords;

namespace {

// Paths longer than the system's limit cannot be opened anyway; the
// failure names the file instead of a bare "cannot open".
using platform::MaxPathLength;

// Deflate can grow incompressible data slightly; a source this close to
// 4 GiB gets the room for the Zip64 sizes in its local header up front.
bool mayCompressPast4GiB(qint64 sourceSize)
{
    return uint64_t(sourceSize) + uint64_t(sourceSize) / 64 + (1u << 20) >= Overflow32;
}

bool isRewrittenInPlace(TZAProcessOperation operation)
{
    return operation == poRename || operation == poChangeAttr || operation == poChangeComment;
}

// The deflate level of an entry's chunks; 0 stores.
int entryLevel(const TDirItem &item)
{
    return item.Method == MethodStored ? 0 : std::max<int>(1, item.CompressionMode);
}

// How much of a source one chunk of an entry takes: more for the slower
// modes, which look further back.
qint64 chunkSize(const TDirItem &item)
{
    const int mode = item.CompressionMode;
    if (mode >= 1 && mode <= 3)
        return 524288;
    if (mode >= 7 && mode <= 9)
        return 1572864;
    return 1048576;
}

// The extra fields of a new entry's local header after the room for the
// Zip64 sizes: the entry's own (the Unicode Path of its name).
QByteArray localExtraFields(const TDirItem &item, bool localZip64)
{
    return zacentral::fittingExtraFields(item.ExtraFields, localZip64 ? LocalZip64ExtraSize : 0);
}

// The local header, its name and its extra fields: the room for the Zip64
// sizes when the entry may need them (zeros until they are known), then
// the entry's own fields. Room is reserved for the bytes that follow in
// the same write, so a small entry goes out as one block made once.
QByteArray localHeaderBytes(const TDirItem &item, const LocalHeader &header, bool localZip64, bool sizesKnown,
                            qsizetype following = 0)
{
    const QByteArray ownFields = localExtraFields(item, localZip64);
    QByteArray bytes;
    bytes.reserve(LocalHeaderSize + item.EncodedName.size() + (localZip64 ? LocalZip64ExtraSize : 0) + ownFields.size()
                  + following);
    bytes += header.encode();
    bytes += item.EncodedName;
    if (localZip64 && sizesKnown) {
        zabytes::put(bytes, Zip64ExtraId);
        zabytes::put(bytes, uint16_t(LocalZip64ExtraSize - 4));
        zabytes::put(bytes, item.UncompressedSize);
        zabytes::put(bytes, item.CompressedSize);
    } else if (localZip64) {
        bytes.append(LocalZip64ExtraSize, '\0');
    }
    bytes += ownFields;
    return bytes;
}

// The local header with the entry's final CRC and sizes.
QByteArray completedHeader(const TDirItem &item, LocalHeader &header, bool localZip64, qsizetype following = 0)
{
    header.method = item.Method;
    header.crc32 = item.Crc32;
    header.compressedSize = localZip64 ? Overflow32 : uint32_t(item.CompressedSize);
    return localHeaderBytes(item, header, localZip64, true, following);
}

} // namespace

TZAUpdateCommit::TZAUpdateCommit(TZACommitContext &context, TZAUpdateSettings settings)
    : m_context(context)
    , m_settings(std::move(settings))
    , m_dir(context.Directory())
    , m_stream(context.Stream())
{
}

TZAUpdateCommit::~TZAUpdateCommit()
{
    if (!m_keepTail)
        deleteTailFile();
}

qsizetype TZAUpdateCommit::findFirstChangedItem() const
{
    const TZADirArray &items = m_dir.Items;
    const TZADirArray &saved = m_dir.SavedItems;
    const qsizetype n = std::min(items.Count(), saved.Count());
    for (qsizetype i = 0; i < n; ++i) {
        if (saved.GetItem(i).FileName != items.GetItem(i).FileName || items.GetItem(i).Modified)
            return i;
    }
    return n;
}

// Entries from start on are rewritten from the lowest of their offsets.
// When an earlier entry lies at or after that point (a directory not in file
// order), everything is rewritten, so no kept entry is overwritten.
void TZAUpdateCommit::chooseWritePosition(qsizetype &start)
{
    const TZADirArray &saved = m_dir.SavedItems;
    const auto lowestFrom = [&](qsizetype first) {
        qint64 lowest = m_dir.DirectoryStart;
        for (qsizetype k = first; k < saved.Count(); ++k)
            lowest = std::min(lowest, qint64(saved.GetItem(k).LocalHeaderOffset));
        return lowest;
    };
    // Entries after a gap that a repair left are moved down to close it.
    if (m_dir.FirstGap >= 0) {
        for (qsizetype k = 0; k < std::min(start, saved.Count()); ++k) {
            if (qint64(saved.GetItem(k).LocalHeaderOffset) > m_dir.FirstGap) {
                start = k;
                break;
            }
        }
    }
    m_writePos = lowestFrom(start);
    if (m_dir.FirstGap >= 0)
        m_writePos = std::min(m_writePos, m_dir.FirstGap);
    for (qsizetype k = 0; k < std::min(start, saved.Count()); ++k) {
        if (qint64(saved.GetItem(k).LocalHeaderOffset) >= m_writePos) {
            start = 0;
            m_writePos = lowestFrom(0);
            break;
        }
    }
}

bool TZAUpdateCommit::Run()
{
    TZADirArray &items = m_dir.Items;
    m_oldDirectoryStart = m_dir.DirectoryStart;
    TZAProcessOperation operation = poDelete;
    bool anyModified = false;
    for (qsizetype i = 0; i < items.Count(); ++i) {
        const TDirItem &item = items.GetItem(i);
        if (!item.Modified)
            continue;
        m_totalBytes += qint64(item.UncompressedSize);
        if (!anyModified)
            operation = item.Operation;
        anyModified = true;
    }
    qsizetype start = findFirstChangedItem();

    m_context.DoOnOverallProgress(0.0, operation, ppStart, m_cancel);
    if (m_cancel) {
        // Nothing was written; drop the items so none is committed later.
        items.CopyFrom(m_dir.SavedItems);
        return false;
    }

    chooseWritePosition(start);
    if (m_writePos < m_stream.size()) {
        try {
            saveArchiveTail();
        } catch (...) {
            // The archive is untouched so far; only the partial tail goes.
            dropTail();
            items.CopyFrom(m_dir.SavedItems);
            throw;
        }
    }
    try {
        zastream::truncate(m_stream, m_writePos);
        const int threads = m_settings.Options.Threads > 0 ? m_settings.Options.Threads : QThread::idealThreadCount();
        m_feed = std::make_unique<TZAEntryFeed>(planEntries(start), threads);

        qsizetype i = start;
        while (i < items.Count() && !m_cancel) {
            m_action = fxaIgnore;
            bool written = true;
            const TDirItem &item = items.GetItem(i);
            if (!item.Modified || isRewrittenInPlace(item.Operation)) {
                const qsizetype copied = copyKeptEntries(i);
                if (m_cancel)
                    break;
                m_entriesProcessed += int(copied);
                i += copied;
                continue;
            }
            written = processUpdateItem(i);
            if (m_action == fxaRetry)
                continue;
            if (m_action == fxaAbort || m_cancel)
                break;
            if (written) {
                ++m_entriesProcessed;
                ++i;
            } else if (items.GetItem(i).Operation != poAdd) {
                // The entry keeps its old data; the kept ones after it
                // come along in the same copy.
                const qsizetype copied = copyKeptEntries(i);
                m_entriesProcessed += int(copied - 1);
                i += copied;
            } else {
                items.Delete(i);
            }
        }
        m_feed.reset();

        if (m_cancel || m_action == fxaAbort) {
            rollback();
            return false;
        }
        m_dir.WriteCentralDir(true);
        // The tail is the only copy of the old entries until the new
        // archive is on the disk.
        if ((m_tail || m_settings.Options.FlushBuffers) && !zastream::syncToDisk(m_stream))
            throw EZAException(zaconst::neWriteFailed);
        dropTail();
        m_dir.FirstGap = -1;
        bool ignored = false;
        m_context.DoOnOverallProgress(100.0, operation, ppEnd, ignored);
    } catch (...) {
        rollback();
        throw;
    }
    return true;
}

void TZAUpdateCommit::saveArchiveTail()
{
    // Beside the archive the tail shares its fate: a temporary folder that
    // is cleared at the next start would take the old entries with it.
    if (m_settings.InMemory)
        m_tail = GetTempArchiveFile(m_settings.TempDir);
    else
        m_tail = CreateTailFile(m_settings.FileName);
    m_stream.MarkLayout();
    zastream::seekChecked(m_stream, m_writePos);
    try {
        zastream::CopyTempFileToDest(m_stream, *m_tail, m_stream.size() - m_writePos);
    } catch (const EZAException &error) {
        // The saved tail is the archive's own data on its way: a disk that
        // refuses it is the archive's full disk, told with the system's reason.
        if (error.NativeError() != zaconst::neWriteFailed)
            throw;
        throw EZAException(zaconst::neDiskFull, {}, {m_stream.ShownName(), m_tail->errorString()});
    }
    // The tail, its name and the note that points to it must all be on the
    // disk before the archive is cut.
    if (!zastream::syncToDisk(*m_tail) || !platform::syncFolder(QFileInfo(m_tail->fileName()).absolutePath()))
        throw EZAException(zaconst::neWriteFailed);
    if (hasJournal()) {
        const TZADirArray &saved = m_dir.SavedItems;
        qint64 entries = 0;
        for (qsizetype k = 0; k < saved.Count(); ++k)
            entries += qint64(saved.GetItem(k).LocalHeaderOffset) >= m_writePos ? 1 : 0;
        zajournal::Write(m_settings.FileName, {m_tail->fileName(), m_writePos, m_tail->size(), entries});
    }
}

// A set of volumes or an archive in memory has no single file that a
// later open could put the tail back into.
bool TZAUpdateCommit::hasJournal() const
{
    return !m_settings.InMemory && !m_stream.IsMultiVolume();
}

void TZAUpdateCommit::dropTail()
{
    if (m_tail && hasJournal())
        zajournal::Remove(m_settings.FileName);
    deleteTailFile();
}

void TZAUpdateCommit::deleteTailFile()
{
    m_tailHeaders.reset();
    if (!m_tail)
        return;
    const QString name = m_tail->fileName();
    m_tail.reset();
    QFile::remove(name);
}

void TZAUpdateCommit::rollback()
{
    m_dir.Items.CopyFrom(m_dir.SavedItems);
    m_dir.DirectoryStart = m_oldDirectoryStart;
    if (m_tail) {
        // Should putting the tail back fail, the tail file and its note stay
        // on the disk as the only copy of the old entries; the next open of
        // the archive puts them back.
        m_keepTail = true;
        m_stream.RestoreFrom(m_writePos, *m_tail);
        if (!zastream::syncToDisk(m_stream))
            throw EZAException(zaconst::neWriteFailed);
        m_keepTail = false;
        dropTail();
        return;
    }
    zastream::truncate(m_stream, m_writePos);
    m_dir.WriteCentralDir(true);
    m_dir.DirectoryStart = m_oldDirectoryStart;
}

bool TZAUpdateCommit::reportProgress(const TDirItem &item, qint64 bytesRead, qint64 sourceSize)
{
    m_context.DoOnFileProgress(item.SourceFileName,
                               sourceSize > 0 ? 100.0 * double(bytesRead) / double(sourceSize) : 0.0, item.Operation,
                               ppProcess, m_cancel);
    if (m_cancel)
        return true;
    const double overall = m_totalBytes > 0 ? 100.0 * double(m_bytesDone + bytesRead) / double(m_totalBytes) : 50.0;
    m_context.DoOnOverallProgress(overall, item.Operation, ppProcess, m_cancel);
    return m_cancel;
}

bool TZAUpdateCommit::processUpdateItem(qsizetype index)
{
    TDirItem &item = m_dir.Items.ItemPtr(index);
    const QString eventName = item.Operation == poAdd || item.Operation == poMove ? item.SourceFileName : item.FileName;
    m_context.DoOnFileProgress(eventName, 0.0, item.Operation, ppStart, m_cancel);
    if (m_cancel)
        return false;

    const qint64 entryStart = m_stream.pos();
    try {
        qint64 sourceSize = 0;
        const bool hasSource = !item.isFolder();
        if (hasSource) {
            if (item.SourceFileName.size() >= MaxPathLength)
                throw EZAException(zaconst::neNameTooLong, {}, {item.SourceFileName});
            m_feed->Open(item.SourceFileName, entryLevel(item), chunkSize(item), qint64(item.UncompressedSize));
            sourceSize = m_feed->Size();
        }
        writeEntry(item, hasSource, sourceSize);
        m_feed->Close();
        if (m_cancel) {
            zastream::truncate(m_stream, entryStart);
            return false;
        }
        m_bytesDone += sourceSize;
        bool ignored = false;
        m_context.DoOnFileProgress(eventName, 100.0, item.Operation, ppEnd, ignored);
        return true;
    } catch (const EZAException &failure) {
        m_feed->Close();
        // The archive that cannot be written fails every entry alike: the
        // update ends at the first, and the rollback puts the old one back.
        if (failure.ErrorCode() == zaconst::ecDiskFull)
            throw;
        // A failed entry leaves none of its bytes behind.
        zastream::truncate(m_stream, entryStart);
        const QString failedName = item.Operation == poUpdate ? item.FileName : item.SourceFileName;
        m_context.DoOnProcessFileFailure(failedName, item.Operation, failure.NativeError(), failure.ErrorCode(),
                                         failure.Message(), m_action);
        return false;
    }
}

// Entries the pool can make ahead, in the order the entry loop asks for them.
std::vector<TZAPlannedEntry> TZAUpdateCommit::planEntries(qsizetype start) const
{
    std::vector<TZAPlannedEntry> plan;
    const TZADirArray &items = m_dir.Items;
    plan.reserve(std::size_t(items.Count() - start));
    for (qsizetype i = start; i < items.Count(); ++i) {
        const TDirItem &item = items.GetItem(i);
        if (!item.Modified || isRewrittenInPlace(item.Operation) || item.isFolder() || item.UncompressedSize == 0)
            continue;
        // An encrypted entry is held whole until its CRC is known, which
        // only the budget of the pool bounds.
        if (!item.Password.isEmpty() && item.UncompressedSize > uint64_t(TZAEntryFeed::Budget))
            continue;
        plan.push_back({item.SourceFileName, qint64(item.UncompressedSize), entryLevel(item), chunkSize(item)});
    }
    return plan;
}

void TZAUpdateCommit::writeEntry(TDirItem &item, bool hasSource, qint64 sourceSize)
{
    const TZip64Mode zip64Mode = m_settings.Zip64Mode;
    // A local header never straddles two volumes.
    m_stream.KeepTogether(LocalHeaderSize + item.EncodedName.size() + LocalZip64ExtraSize
                          + localExtraFields(item, true).size());
    const qint64 offset = m_stream.pos();
    const bool needs64 = uint64_t(sourceSize) >= Overflow32 || uint64_t(offset) >= Overflow32;
    if (needs64 && zip64Mode == zmDisabled)
        throw EZAException(zaconst::neZip64Disabled, {}, {item.SourceFileName});
    item.Zip64 = zip64Mode == zmAlways;
    const bool localZip64 = zip64Mode != zmDisabled && (item.Zip64 || (hasSource && mayCompressPast4GiB(sourceSize)));

    const uint16_t version = localZip64 || needs64 ? VersionZip64
        : m_settings.Options.OEMFileNames          ? VersionDefault
                                                   : VersionAnsiNames;
    item.VersionMadeBy = item.VersionNeeded = version;
    item.LocalHeaderOffset = uint64_t(offset);
    if (!hasSource) {
        item.Method = MethodStored;
        item.Crc32 = 0;
        item.CompressedSize = item.UncompressedSize = 0;
    }

    LocalHeader header;
    header.signature = m_settings.StandardSignatures ? StandardSignatures.localHeader : AlternateSignatures.localHeader;
    header.versionNeeded = version;
    header.flags = item.Flags;
    header.method = item.Method;
    header.modTime = item.ModTime;
    header.modDate = item.ModDate;
    header.uncompressedSize = localZip64 ? Overflow32 : uint32_t(sourceSize);
    header.nameLength = uint16_t(item.EncodedName.size());
    header.extraLength = uint16_t((localZip64 ? LocalZip64ExtraSize : 0) + localExtraFields(item, localZip64).size());
    if (hasSource) {
        writeData(item, header, offset, sourceSize, localZip64);
        return;
    }
    // A folder's sizes are known at once: a Zip64 header gets them in its
    // extra, since its size fields say they are there.
    zastream::writeChecked(m_stream, completedHeader(item, header, localZip64));
}

// An entry held whole in memory (one chunk, or an encrypted entry whose
// header needs the CRC first) is written once with its final header; a
// longer one streams chunk by chunk and its header is completed afterwards.
void TZAUpdateCommit::writeData(TDirItem &item, LocalHeader &header, qint64 offset, qint64 sourceSize, bool localZip64)
{
    const bool encrypt = !item.Password.isEmpty();
    const bool whole = sourceSize <= chunkSize(item) || (encrypt && m_feed->Planned());
    uint32_t crc = 0;
    qint64 bytesRead = 0;
    const auto nextChunk = [&](QByteArray &data) {
        if (reportProgress(item, bytesRead, sourceSize))
            return false;
        TZAChunk chunk = m_feed->Next();
        crc = uint32_t(crc32_combine(crc, chunk.crc, chunk.length));
        bytesRead += chunk.length;
        data = std::move(chunk.data);
        return true;
    };
    const auto finishItem = [&](qint64 compressed) {
        if (uint64_t(compressed) >= Overflow32 && !localZip64)
            throw EZAException(zaconst::neZip64DisabledAfterCompression, {}, {item.SourceFileName});
        item.Crc32 = crc;
        item.CompressedSize = uint64_t(compressed);
        item.UncompressedSize = uint64_t(sourceSize);
        if (sourceSize == 0)
            item.Method = MethodStored;
    };

    QByteArray body;
    if (whole) {
        QByteArray data;
        while (m_feed->HasNext()) {
            if (!nextChunk(data))
                return;
            body += data;
        }
    }
    std::optional<TZACipher> cipher;
    QByteArray encryptionHeader;
    uint32_t headerCrc = crc;
    if (encrypt) {
        cipher.emplace(item.Password);
        if (!whole)
            headerCrc = m_feed->SourceCrc();
        encryptionHeader = cipher->EncryptionHeader(headerCrc);
    }
    if (whole) {
        if (cipher)
            cipher->EncryptBuffer(body.data(), body.size());
        finishItem(encryptionHeader.size() + body.size());
        QByteArray entry = completedHeader(item, header, localZip64, encryptionHeader.size() + body.size());
        entry += encryptionHeader;
        entry += body;
        zastream::writeChecked(m_stream, entry);
        return;
    }

    zastream::writeChecked(m_stream, localHeaderBytes(item, header, localZip64, false) + encryptionHeader);
    qint64 compressed = encryptionHeader.size();
    QByteArray data;
    while (m_feed->HasNext()) {
        if (!nextChunk(data))
            return;
        if (cipher)
            cipher->EncryptBuffer(data.data(), data.size());
        zastream::writeChecked(m_stream, data);
        compressed += data.size();
    }
    // The header's check bytes came from a first reading of the source.
    if (cipher && crc != headerCrc)
        throw EZAException(zaconst::neSourceSizeChanged, {}, {QString::number(sourceSize), QString::number(bytesRead)});
    finishItem(compressed);
    const qint64 end = m_stream.pos();
    zastream::seekChecked(m_stream, offset);
    zastream::writeChecked(m_stream, completedHeader(item, header, localZip64));
    zastream::seekChecked(m_stream, end);
}

qint64 TZAUpdateCommit::measureSavedEntry(const TDirItem &saved, qint64 tailOffset, qint64 &headerLength)
{
    // A kept entry is copied only when its header is the one its directory
    // record describes; copying a damaged one would hand it on unseen.
    LocalHeader header;
    const uint32_t signature
        = m_settings.StandardSignatures ? StandardSignatures.localHeader : AlternateSignatures.localHeader;
    if (!m_tailHeaders)
        m_tailHeaders = std::make_unique<TZAReadAhead>(*m_tail);
    if (!zaentry::LocalHeaderMatches(*m_tailHeaders, tailOffset, signature, saved, &header))
        throw EZAException(zaconst::neInvalidArchive);
    headerLength = LocalHeaderSize + header.nameLength + header.extraLength;
    // A size beyond the tail (up to 2^64) must not wrap the sum below.
    if (saved.CompressedSize > uint64_t(m_tail->size()))
        throw EZAException(zaconst::neInvalidArchive);
    qint64 length = headerLength + qint64(saved.CompressedSize);
    if (header.flags & FlagDataDescriptor) {
        const bool wide
            = saved.CompressedSize >= Overflow32 || saved.UncompressedSize >= Overflow32 || saved.HasZip64Extra;
        const QByteArray mark = zastream::readAt(*m_tailHeaders, tailOffset + length, 4);
        const bool signed_ = mark.size() == 4 && zabytes::get<uint32_t>(mark.constData()) == DataDescriptorSignature;
        length += (wide ? 20 : 12) + (signed_ ? 4 : 0);
    }
    if (tailOffset + length > m_tail->size())
        throw EZAException(zaconst::neInvalidArchive);
    return length;
}

// Copies the kept entry at index, with the kept entries after it that
// follow it in the tail without a gap, as one run of large blocks. Kept
// entries have the positions of their saved records. Answers the number of
// entries copied.
qsizetype TZAUpdateCommit::copyKeptEntries(qsizetype first)
{
    TZADirArray &items = m_dir.Items;
    const TZADirArray &saved = m_dir.SavedItems;
    // The working list begins as a copy of the saved one and only grows at
    // its end, so a kept entry is the saved entry at its own position; by
    // name it could be another entry of the same name.
    if (first >= saved.Count() || !m_tail || saved.GetItem(first).FileName != items.GetItem(first).FileName)
        throw EZAException(zaconst::neKeptEntryNotSaved);
    if (items.GetItem(first).Operation == poUpdate)
        items.SetItem(first, saved.GetItem(first));

    const qint64 runStart = qint64(saved.GetItem(first).LocalHeaderOffset) - m_writePos;
    qint64 headerLength = 0;
    qint64 runEnd = runStart + measureSavedEntry(saved.GetItem(first), runStart, headerLength);
    qsizetype count = 1;
    // In a set of volumes every local header stays on one volume: there the
    // entries go one by one.
    for (qsizetype k = first + 1; !m_stream.IsMultiVolume() && k < std::min(items.Count(), saved.Count()); ++k) {
        const TDirItem &kept = saved.GetItem(k);
        if (items.GetItem(k).Modified || kept.FileName != items.GetItem(k).FileName
            || qint64(kept.LocalHeaderOffset) - m_writePos != runEnd)
            break;
        qint64 ignored = 0;
        runEnd += measureSavedEntry(kept, runEnd, ignored);
        ++count;
    }

    m_stream.KeepTogether(headerLength);
    const qint64 newStart = m_stream.pos();
    zastream::seekChecked(*m_tail, runStart);
    if (!m_context.CopyTempFileToDest(*m_tail, m_stream, runEnd - runStart, true))
        m_cancel = true;
    for (qsizetype k = first; k < first + count; ++k) {
        const qint64 tailOffset = qint64(saved.GetItem(k).LocalHeaderOffset) - m_writePos;
        items.ItemPtr(k).LocalHeaderOffset = uint64_t(newStart + tailOffset - runStart);
    }
    return count;
}
