#pragma once

#include "help/MapFile.h"

#include <QByteArray>
#include <QString>

namespace help {

// Turns control names into help contexts through their name hash. The data
// is a list of 8-byte records (hash, context: little-endian signed 32-bit),
// sorted by hash as signed numbers, as the windows carry it.
class THelpContextMap {
public:
    // The context of the name; 0 when the name is empty or not in the data.
    qint32 FindContext(const QString &name) const;

    // The stored form of the data: its 32-bit length, then the records.
    // Reading refuses a length past the data or one that is no whole number
    // of records (EHelpError) and leaves the map as it was.
    void ReadFileData(const QByteArray &stored);
    // Empty when there are no records: an empty map is not stored.
    QByteArray WriteFileData() const;

    // The map file the data was built from.
    QString FileName() const { return m_fileName; }
    // Reads the map file (see ParseMapFile) and rebuilds the data from it;
    // the number of names stored. Throws EHelpError for a missing file.
    int SetFileName(const QString &fileName);
    // The name only, as when the map is loaded with its data already built.
    void SetLoadedFileName(const QString &fileName) { m_fileName = fileName; }

    int Count() const { return int(m_records.size() / 8); }

    // The records of the entries, sorted as the data requires.
    static QByteArray BuildRecords(const QList<MapEntry> &entries);

private:
    QByteArray m_records;
    QString m_fileName;
};

} // namespace help
