#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryFile;

namespace platform {

// A private copy of some bytes that a library can open by a path, but that
// has no name in any folder: it is gone when it goes, and a killed process
// leaves nothing behind. Where the system has no nameless files it is a
// temporary file removed when it goes.
class AnonymousFile {
public:
    explicit AnonymousFile(const QByteArray &data);
    ~AnonymousFile();
    AnonymousFile(const AnonymousFile &) = delete;
    AnonymousFile &operator=(const AnonymousFile &) = delete;

    // False when the copy could not be made.
    bool isOpen() const { return !m_path.isEmpty(); }
    // The path to open it by, in this process and in its forked children.
    QString path() const { return m_path; }

private:
    QString m_path;
#ifdef Q_OS_LINUX
    int m_fd = -1;
#else
    std::unique_ptr<QTemporaryFile> m_file;
#endif
};

} // namespace platform
