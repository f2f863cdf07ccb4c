#pragma once

#include "zip/ZATypes.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

struct TZAExtraField {
    uint16_t HeaderId = 0;
    QByteArray Data;
};

// One entry of the archive's directory. Sizes and the offset are held as
// 64-bit values; whether a header field shows 0xFFFFFFFF and the value moves
// to a Zip64 extra is decided when the record is written.
struct TDirItem {
    uint16_t VersionMadeBy = 0;
    uint16_t VersionNeeded = 0;
    uint16_t Flags = 0;
    uint16_t Method = 0;
    uint16_t ModTime = 0;
    uint16_t ModDate = 0;
    uint32_t Crc32 = 0;
    uint64_t CompressedSize = 0;
    uint64_t UncompressedSize = 0;
    uint32_t DiskNumberStart = 0;
    uint16_t InternalAttributes = 0;
    uint8_t CompressionMode = 0;
    TZAProcessOperation Operation = poAdd;
    uint32_t ExternalAttributes = 0;
    // The small fields side by side: a directory holds many items.
    bool HasZip64Extra = false; // the central header carried a Zip64 extra
    bool Zip64 = false;         // sizes and offset are written in the Zip64 fields
    bool Modified = false;
    uint64_t LocalHeaderOffset = 0;

    // The entry name with "/" separators, and the bytes that stand for it in
    // the headers (flag bit 11 tells they are UTF-8). Unchanged entries keep
    // the bytes they were read with, so their local and central names agree.
    QString FileName;
    QByteArray EncodedName;
    QByteArray Comment;
    // The extra fields as read (or, for a new entry, the Unicode Path of its
    // name), kept on rewrite; never id 1, which is written anew.
    QList<TZAExtraField> ExtraFields;

    QByteArray Password;
    QString SourceFileName;

    bool isFolder() const;
};

// Every member moves by its bytes: a directory of many entries grows in
// place instead of being held twice while it is copied.
Q_DECLARE_TYPEINFO(TDirItem, Q_RELOCATABLE_TYPE);
