#include "zip/ZADirManager.h"

#include "zip/ZAByteOrder.h"
#include "zip/ZACentralHeader.h"
#include "zip/ZAEntryCheck.h"
#include "zip/ZAExcept.h"
#include "zip/ZANameCodec.h"
#include "zip/ZAStreamIO.h"

using namespace zarecords;

namespace {

constexpr int DataDescriptorSize = 16;
constexpr int Zip64DataDescriptorSize = 24;

struct FoundEntry {
    TDirItem item;
    qint64 dataStart = 0;
};

bool readLocalEntry(QIODevice &stream, qint64 pos, const TZADirManager::Settings &settings, FoundEntry &found)
{
    LocalHeader header;
    if (!header.decode(zastream::readAt(stream, pos, LocalHeaderSize)))
        return false;
    const qint64 size = stream.size();
    const qint64 dataStart = pos + LocalHeaderSize + header.nameLength + header.extraLength;
    if (dataStart > size)
        return false;

    TDirItem &item = found.item;
    item = TDirItem();
    item.VersionMadeBy = item.VersionNeeded = header.versionNeeded;
    item.Flags = header.flags;
    item.Method = header.method;
    item.ModTime = header.modTime;
    item.ModDate = header.modDate;
    item.Crc32 = header.crc32;
    item.LocalHeaderOffset = uint64_t(pos);
    item.EncodedName = zastream::readAt(stream, pos + LocalHeaderSize, header.nameLength);
    const QByteArray extra = zastream::readAt(stream, pos + LocalHeaderSize + header.nameLength, header.extraLength);
    // Without the fields only Unix systems write the name is taken to be in
    // the code page, as this archiver writes it.
    item.FileName = zanames::decodeName(item.EncodedName, item.Flags, zanames::madeByOf(zanames::MadeOnDos, extra),
                                        settings.oemNames);
    item.ExtraFields = zanames::fieldsNamingTheEntry(extra);

    // Sizes marked as overflowing with no Zip64 extra to hold them are
    // unknown: such an entry's data can never be found whole.
    if (!zacentral::readLocalSizes(header, extra, item) && !(header.flags & FlagDataDescriptor))
        item.CompressedSize = UINT64_MAX;
    const QByteArray unicodePath = zacentral::findExtraField(extra, zanames::UnicodePathExtraId);
    if (!unicodePath.isNull()) {
        const QString unicodeName = zanames::unicodePathName(unicodePath, item.EncodedName);
        if (!unicodeName.isNull())
            item.FileName = unicodeName;
    }
    // A name ending in "/" is a folder; an empty file is not.
    item.ExternalAttributes = item.FileName.endsWith(u'/') ? AttrFolder : AttrArchive;
    found.dataStart = dataStart;
    return true;
}

// Takes CRC and sizes from the data descriptor that follows the data;
// answers the position after it, -1 when none is found.
qint64 readDataDescriptor(QIODevice &stream, FoundEntry &found)
{
    const qint64 pos = zastream::findForward(stream, found.dataStart, DataDescriptorSignature, DataDescriptorSize);
    if (pos < 0)
        return -1;
    TDirItem &item = found.item;
    const uint64_t dataSize = uint64_t(pos - found.dataStart);
    const QByteArray bytes = zastream::readAt(stream, pos + 4, Zip64DataDescriptorSize - 4);
    zabytes::Reader in(bytes);
    item.Crc32 = in.take<uint32_t>();
    const uint32_t compressed = in.take<uint32_t>();
    if (compressed == dataSize || bytes.size() < 20) {
        item.CompressedSize = compressed;
        item.UncompressedSize = in.take<uint32_t>();
        return pos + DataDescriptorSize;
    }
    zabytes::Reader wide(bytes);
    wide.take<uint32_t>();
    item.CompressedSize = wide.take<uint64_t>();
    item.UncompressedSize = wide.take<uint64_t>();
    return pos + Zip64DataDescriptorSize;
}

} // namespace

void TZADirManager::repair()
{
    Items.Clear();
    Repaired = true;
    DroppedEntries = 0;
    FirstGap = -1;
    QIODevice &stream = *m_stream;
    const qint64 size = stream.size();
    const uint32_t signature = m_settings.signatures.localHeader;

    qint64 hit = zastream::findForward(stream, 0, signature, LocalHeaderSize);
    // An empty file is what a first run killed before its first entry
    // leaves: an empty archive, not a foreign file.
    if (hit < 0 && size == 0) {
        DirectoryStart = 0;
        return;
    }
    if (hit < 0)
        throw EZAException(zaconst::neInvalidArchive);
    BaseOffset = hit;
    while (hit >= 0) {
        FoundEntry found;
        qint64 next = hit + 4;
        if (readLocalEntry(stream, hit, m_settings, found)) {
            qint64 dataEnd = -1;
            if (found.item.Flags & FlagDataDescriptor)
                dataEnd = readDataDescriptor(stream, found);
            else if (found.item.CompressedSize <= uint64_t(size - found.dataStart))
                dataEnd = found.dataStart + qint64(found.item.CompressedSize);
            // A write cut short leaves a header whose data does not bear it
            // out; such an entry is left out, so the file is archived again.
            if (dataEnd >= 0 && zaentry::DataIsWhole(stream, found.dataStart, found.item, m_settings.password)) {
                Items.Append(found.item);
                // Skipping the data keeps archives stored inside this one
                // from turning into entries of their own.
                next = dataEnd;
            } else {
                ++DroppedEntries;
                if (FirstGap < 0)
                    FirstGap = hit;
            }
        }
        hit = zastream::findForward(stream, next, signature, LocalHeaderSize);
    }
    DirectoryStart = size;
}
