#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <memory>

namespace platform {

// Replaces a file's content so that a full disk, a size limit, a crash or a
// power cut leaves either the old file, byte for byte, or the complete new
// one: the new content goes into a temporary file beside the target; every
// write is checked, the file is flushed and synced, renamed over the target,
// and the folder is synced so that the rename itself survives. The new file
// keeps the old one's permissions; a link is saved where it leads.
//
//     SafeSave save(path);
//     if (!save.open() || !save.write(bytes) || !save.commit())
//         ...save.errorString()...
//
// A SafeSave that is never committed removes its temporary file.
class SafeSave {
public:
    explicit SafeSave(QString path);
    ~SafeSave();
    SafeSave(const SafeSave &) = delete;
    SafeSave &operator=(const SafeSave &) = delete;

    bool open();
    // False, for good, when a byte did not reach the file.
    bool write(QByteArrayView bytes);
    // The open temporary file, unbuffered, for writers that need a device
    // (seeks, resize); commit checks its error state.
    QFile &device() { return *m_file; }
    // Puts the new content in place for good: true once the rename and the
    // folder holding it reached the disk. False before the rename leaves the
    // target untouched; false after it (replaced() true) leaves the new
    // content in place, though a power cut may still bring back the old.
    bool commit();
    // The target holds the new content (commit got as far as the rename).
    bool replaced() const { return m_replaced; }

    QString errorString() const { return m_error; }

private:
    bool fail(const QString &what);

    QString m_path;
    QString m_tempPath;
    std::unique_ptr<QFile> m_file;
    QString m_error;
    bool m_failed = false;
    bool m_replaced = false;
};

// Writes content to path through a SafeSave; the message says what failed,
// and whether the file was replaced all the same.
bool saveFile(const QString &path, QByteArrayView content, QString *error = nullptr);

// Makes the file's written content durable: flushes Qt's buffer, then has
// the system write its cache to the disk. The one way the suite syncs a file.
bool syncFile(QFileDevice &file);
// Makes the entries of the folder (a rename, a new file) durable.
bool syncFolder(const QString &folder);

} // namespace platform
