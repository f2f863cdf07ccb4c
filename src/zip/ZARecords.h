#pragma once

#include <QByteArray>

#include <cstdint>

// The on-disk records of a ZIP archive: their signatures, fixed sizes and
// the values that mark a field as moved into the Zip64 records.
namespace zarecords {

struct SignatureSet {
    uint32_t localHeader;
    uint32_t centralHeader;
    uint32_t endOfDirectory;
};

inline constexpr SignatureSet StandardSignatures{0x04034B50, 0x02014B50, 0x06054B50};
inline constexpr SignatureSet AlternateSignatures{0x05045C61, 0x03025C61, 0x06054141};

inline constexpr uint32_t DataDescriptorSignature = 0x08074B50;
inline constexpr uint32_t Zip64EndSignature = 0x06064B50;
inline constexpr uint32_t Zip64LocatorSignature = 0x07064B50;

inline constexpr int LocalHeaderSize = 30;
inline constexpr int CentralHeaderSize = 46;
inline constexpr int EndRecordSize = 22;
inline constexpr int Zip64EndRecordSize = 56;
inline constexpr int Zip64LocatorSize = 20;
inline constexpr int MaxCommentSize = 0xFFFF;

inline constexpr uint32_t Overflow32 = 0xFFFFFFFF;
inline constexpr uint16_t Overflow16 = 0xFFFF;

// The extra fields of a header, each with its 4-byte head (id, size), take
// at most what the header's 16-bit length can tell.
inline constexpr int ExtraFieldHeadSize = 4;
inline constexpr qsizetype MaxExtraLength = 0xFFFF;

inline constexpr uint16_t Zip64ExtraId = 0x0001;
// A local header's Zip64 extra: 4-byte head, then both 64-bit sizes.
inline constexpr int LocalZip64ExtraSize = 20;

inline constexpr uint16_t VersionZip64 = 45;
inline constexpr uint16_t VersionDefault = 20;
inline constexpr uint16_t VersionAnsiNames = 0x0B14;
inline constexpr uint16_t VersionAlternate = 0x4114;

inline constexpr uint16_t FlagEncrypted = 0x0001;
inline constexpr uint16_t FlagDataDescriptor = 0x0008;
inline constexpr uint16_t FlagUtf8Name = 0x0800;

inline constexpr uint16_t MethodStored = 0;
inline constexpr uint16_t MethodDeflated = 8;

inline constexpr uint32_t AttrReadOnly = 0x01;
inline constexpr uint32_t AttrFolder = 0x10;
inline constexpr uint32_t AttrArchive = 0x20;

struct LocalHeader {
    uint32_t signature = StandardSignatures.localHeader;
    uint16_t versionNeeded = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t modTime = 0;
    uint16_t modDate = 0;
    uint32_t crc32 = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint16_t nameLength = 0;
    uint16_t extraLength = 0;

    // Every field in its on-disk order; encode and decode follow it.
    template <typename Record, typename Visit>
    static void fields(Record &record, Visit &&visit)
    {
        visit(record.signature);
        visit(record.versionNeeded);
        visit(record.flags);
        visit(record.method);
        visit(record.modTime);
        visit(record.modDate);
        visit(record.crc32);
        visit(record.compressedSize);
        visit(record.uncompressedSize);
        visit(record.nameLength);
        visit(record.extraLength);
    }

    QByteArray encode() const;
    // False when the bytes are too few.
    bool decode(const QByteArray &bytes);
};

struct EndRecord {
    uint32_t signature = StandardSignatures.endOfDirectory;
    uint16_t thisDisk = 0;
    uint16_t directoryDisk = 0;
    uint16_t entriesOnDisk = 0;
    uint16_t totalEntries = 0;
    uint32_t directorySize = 0;
    uint32_t directoryOffset = 0;
    uint16_t commentLength = 0;

    // Every field in its on-disk order; encode and decode follow it.
    template <typename Record, typename Visit>
    static void fields(Record &record, Visit &&visit)
    {
        visit(record.signature);
        visit(record.thisDisk);
        visit(record.directoryDisk);
        visit(record.entriesOnDisk);
        visit(record.totalEntries);
        visit(record.directorySize);
        visit(record.directoryOffset);
        visit(record.commentLength);
    }

    QByteArray encode() const;
    // False when the bytes are too few.
    bool decode(const QByteArray &bytes);
};

struct Zip64EndRecord {
    uint32_t signature = Zip64EndSignature;
    uint64_t recordSize = Zip64EndRecordSize - 12;
    uint16_t versionMadeBy = VersionZip64;
    uint16_t versionNeeded = VersionZip64;
    uint32_t thisDisk = 0;
    uint32_t directoryDisk = 0;
    uint64_t entriesOnDisk = 0;
    uint64_t totalEntries = 0;
    uint64_t directorySize = 0;
    uint64_t directoryOffset = 0;

    // Every field in its on-disk order; encode and decode follow it.
    template <typename Record, typename Visit>
    static void fields(Record &record, Visit &&visit)
    {
        visit(record.signature);
        visit(record.recordSize);
        visit(record.versionMadeBy);
        visit(record.versionNeeded);
        visit(record.thisDisk);
        visit(record.directoryDisk);
        visit(record.entriesOnDisk);
        visit(record.totalEntries);
        visit(record.directorySize);
        visit(record.directoryOffset);
    }

    QByteArray encode() const;
    // False when the bytes are too few.
    bool decode(const QByteArray &bytes);
};

struct Zip64Locator {
    uint32_t signature = Zip64LocatorSignature;
    uint32_t zip64EndDisk = 0;
    uint64_t zip64EndOffset = 0;
    uint32_t totalDisks = 1;

    // Every field in its on-disk order; encode and decode follow it.
    template <typename Record, typename Visit>
    static void fields(Record &record, Visit &&visit)
    {
        visit(record.signature);
        visit(record.zip64EndDisk);
        visit(record.zip64EndOffset);
        visit(record.totalDisks);
    }

    QByteArray encode() const;
    // False when the bytes are too few.
    bool decode(const QByteArray &bytes);
};

} // namespace zarecords
