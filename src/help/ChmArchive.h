#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

struct chmFile;

namespace platform {
class AnonymousFile;
}

namespace help {

// A compiled help file opened for reading; the objects inside are named by
// absolute paths ("/Main.htm"). A damaged file does not open.
class ChmArchive {
public:
    // Null when the file is missing or no compiled help file.
    static std::unique_ptr<ChmArchive> open(const QString &path);
    ~ChmArchive();

    bool contains(const QString &object) const;
    std::optional<QByteArray> read(const QString &object) const;
    // The plain files inside, without the format's own objects.
    QStringList files() const;

private:
    struct Closer {
        void operator()(chmFile *file) const;
    };
    ChmArchive(std::unique_ptr<platform::AnonymousFile> copy, chmFile *file);

    std::unique_ptr<platform::AnonymousFile> m_copy;
    std::unique_ptr<chmFile, Closer> m_file;
};

} // namespace help
