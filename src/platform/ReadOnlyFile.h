#pragma once

#include <QString>

#include <memory>

class QFile;

namespace platform {

// A file opened for reading at given offsets: one open and one status call,
// then each read goes straight to its offset without a shared position, so
// reading many small files costs the system as little as it can. A folder
// or a file that cannot be opened is not open. Closed when it goes.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString &path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    bool isOpen() const { return m_size >= 0; }
    // The size when the file was opened; -1 when it is not open.
    qint64 size() const { return m_size; }
    // Reads length bytes at offset; the count read, short at the end of the
    // file or on an error.
    qint64 readAt(qint64 offset, char *data, qint64 length);

private:
    qint64 m_size = -1;
#ifdef Q_OS_UNIX
    int m_fd = -1;
#else
    std::unique_ptr<QFile> m_file;
#endif
};

} // namespace platform
