#pragma once

#include "zip/ZADirArray.h"
#include "zip/ZARecords.h"
#include "zip/ZAStream.h"

#include <QByteArray>
#include <QIODevice>

#include <cstdint>

// The directory of one open archive: reads the end record, the Zip64
// records and the central directory, rebuilds a damaged directory from the
// local headers, and writes the directory back.
class TZADirManager {
public:
    struct Settings {
        zarecords::SignatureSet signatures = zarecords::StandardSignatures;
        bool oemNames = true;
        bool repairOnOpen = true;
        // Lets a repair check encrypted entries by decrypting them.
        QByteArray password;
    };

    // stream: the archive stream, not owned. A new archive's entries begin
    // where the stream's layers put the archive proper (after a stub).
    TZADirManager(TZAStream &stream, const Settings &settings);

    TZADirArray Items;
    TZADirArray SavedItems;
    QByteArray Comment;

    // Where the archive proper begins in the file.
    qint64 BaseOffset = 0;
    // Where the central directory begins (after a repair: the end of the file).
    qint64 DirectoryStart = 0;
    bool HasZip64 = false;
    // The directory was rebuilt from the local headers on opening, and how
    // many entries found there were left out as incomplete.
    bool Repaired = false;
    qsizetype DroppedEntries = 0;
    // Where the first entry left out by the repair begins (-1: none). The
    // next commit rewrites the archive from there, so no dead bytes are
    // left between its entries for the tools to stumble on.
    qint64 FirstGap = -1;

    // The position of the end record, -1 when the archive has none.
    qint64 FindEndRecord();
    bool HasEndRecord();
    // The end record's number of the disk that holds it (the last volume
    // of a set); valid after FindEndRecord found one.
    uint32_t LastDisk() const { return m_endRecord.thisDisk; }
    // Reads the directory of an opened archive; repairs it (when the
    // settings allow) or raises when it cannot be read.
    void ReadCentralDir();
    // Writes the directory, the Zip64 records when needed, the end record
    // and the comment, at the current position or over the old directory.
    void WriteCentralDir(bool atCurrentPosition);

private:
    void repair();
    bool readDirectoryAt(qint64 endRecordPos);
    bool damaged() const;
    void shiftOffsets(qint64 delta);

    TZAStream *m_stream;
    Settings m_settings;
    zarecords::EndRecord m_endRecord;
};
