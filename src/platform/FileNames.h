#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <filesystem>

// How the suite spells, compares and opens file names. On Linux a name is
// a string of bytes that need not be valid UTF-8 (names from disks written
// by other systems often are not); such a name still travels through the
// programs as a QString: each byte that is not part of valid UTF-8 is held
// as a lone surrogate U+DC80..U+DCFF, which no valid name contains, so the
// bytes come back unchanged. Qt's own file classes cannot open such a name:
// open it through openFile.
class QFile;

namespace platform {

// The name's bytes as the file system spells them.
QByteArray fileNameBytes(const QString &name);
// The name for std::filesystem.
std::filesystem::path nativePath(const QString &name);
// The name of the bytes the file system gave; lossless for any bytes.
QString fileNameFromBytes(const QByteArray &bytes);
// True when the name holds a byte that is not valid UTF-8.
bool hasRawBytes(const QString &name);
// The name for a person to read: each raw byte as "\xNN".
QString readableFileName(const QString &name);

// File names compare as the file system compares them: case-sensitive here,
// case-insensitive on Windows.
Qt::CaseSensitivity fileNameCase();
// A name for hashing under that rule: equal keys for names that compare equal.
QString fileNameKey(const QString &name);
bool startsWithFolder(const QString &path, const QString &folder);

// The deepest folder (ending in a separator) that holds every path; empty
// when they share none.
QString commonFolder(const QStringList &paths);

// The absolute name of the file a name leads to: the name itself, or where
// its links end (as many as the system itself follows). A link to a file
// not made yet leads to where that file will be.
QString whereLinksLead(const QString &name);

// Whether something of that name (raw bytes included) exists.
bool fileExists(const QString &path);

// Opens the file at path (raw bytes included) into file, which must not be
// open; the file closes its handle itself.
bool openFile(QFile &file, const QString &path, QIODevice::OpenMode mode);

} // namespace platform
