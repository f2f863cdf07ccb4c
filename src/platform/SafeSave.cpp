#include "SafeSave.h"

#include "platform/FileNames.h"
#include "platform/Paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#ifdef Q_OS_WIN
#include <QTemporaryFile>
#include <io.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

#ifdef Q_OS_UNIX
// An open descriptor that closes itself.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};
#endif

const QString TemporaryMark = QStringLiteral(".zentavo-");
constexpr int UniquePartLength = 6;
// Longest name most file systems take.
constexpr qsizetype MaxNameBytes = 255;

QString folderOf(const QString &path)
{
    const QString folder = folderPart(path);
    return folder.isEmpty() ? QStringLiteral("./") : folder;
}

// The temporary files of a target are named after it, so that the next
// save of the same target finds what a killed one left. A name too long
// for that takes a digest of the target's name instead.
QString temporaryStem(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const QString stem = u'.' + name + TemporaryMark;
    if (fileNameBytes(stem).size() + UniquePartLength <= MaxNameBytes)
        return stem;
    const QByteArray digest = QCryptographicHash::hash(fileNameBytes(name), QCryptographicHash::Sha1);
    return TemporaryMark + QString::fromLatin1(digest.toHex().left(16)) + u'-';
}

QString temporaryTemplate(const QString &path)
{
    return folderOf(path) + temporaryStem(path) + QString(UniquePartLength, u'X');
}

// A temporary file is locked by its save while that lives (on Windows: kept
// open, which bars its removal); one that can be locked belongs to a save
// that was killed.
void removeAbandonedTemporaries(const QString &path)
{
    const QDir folder(folderOf(path));
    const QString stem = temporaryStem(path);
    const QStringList found
        = folder.entryList({stem + QString(UniquePartLength, u'?')}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : found) {
#ifdef Q_OS_UNIX
        const QByteArray file = fileNameBytes(folder.filePath(name));
        const Descriptor fd(::open(file.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
        if (fd.get() >= 0 && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(file.constData());
#else
        QFile::remove(folder.filePath(name));
#endif
    }
}

#ifdef Q_OS_UNIX
// Makes a new file of the template's name, its trailing X's replaced by a
// unique part, as mkstemp does, but with the given mode (mkstemp's is 0600).
// The descriptor, or -1 with errno set.
int createTemporary(const QString &nameTemplate, mode_t mode, QString *created)
{
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name = fileNameBytes(nameTemplate);
    const qsizetype unique = name.size() - UniquePartLength;
    constexpr int Attempts = 100;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        for (qsizetype i = unique; i < name.size(); ++i)
            name[i] = Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))];
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            *created = fileNameFromBytes(name);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}
#endif

} // namespace

SafeSave::SafeSave(QString path) : m_path(std::move(path))
{
    // A name that is a link is saved where it leads, also where nothing is
    // yet, and stays a link.
    std::error_code error;
    if (std::filesystem::is_symlink(nativePath(m_path), error))
        m_path = whereLinksLead(m_path);
}

SafeSave::~SafeSave()
{
    if (m_tempPath.isEmpty())
        return;
    m_file.reset();
    std::error_code ignored;
    std::filesystem::remove(nativePath(m_tempPath), ignored);
}

bool SafeSave::fail(const QString &what)
{
    if (!m_failed)
        m_error = what + QStringLiteral(" (") + readableFileName(m_path) + QStringLiteral(")");
    m_failed = true;
    return false;
}

bool SafeSave::open()
{
    if (m_path.isEmpty())
        return fail(QStringLiteral("No file name"));
#ifdef Q_OS_UNIX
    removeAbandonedTemporaries(m_path);
    // The new file gets the old one's mode. A new target gets what the system
    // gives any new file (umask, a default ACL), so the temporary is made with
    // the usual mode and kept as it is: changing the umask to learn it would
    // change it for every thread of the process.
    struct stat old {};
    const bool replacing = ::stat(fileNameBytes(m_path).constData(), &old) == 0;
    const int fd = createTemporary(temporaryTemplate(m_path), replacing ? S_IRUSR | S_IWUSR : 0666, &m_tempPath);
    if (fd < 0)
        return fail(systemError());
    // Held until the file is closed, so that no other save takes it for
    // abandoned.
    ::flock(fd, LOCK_EX | LOCK_NB);
    if (replacing)
        ::fchmod(fd, old.st_mode & 07777);
    m_file = std::make_unique<QFile>();
    if (!m_file->open(fd, QIODevice::ReadWrite | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(m_file->errorString());
    }
#else
    removeAbandonedTemporaries(m_path);
    QTemporaryFile temporary(temporaryTemplate(m_path));
    temporary.setAutoRemove(false);
    if (!temporary.open())
        return fail(temporary.errorString());
    m_tempPath = temporary.fileName();
    temporary.close();
    QFile::setPermissions(m_tempPath,
                          QFileInfo(m_path).exists() ? QFile::permissions(m_path) : QFile::permissions(m_tempPath));
    m_file = std::make_unique<QFile>(m_tempPath);
    if (!m_file->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return fail(m_file->errorString());
#endif
    return true;
}

bool SafeSave::write(QByteArrayView bytes)
{
    if (m_failed || !m_file)
        return false;
    if (m_file->write(bytes.data(), bytes.size()) != bytes.size())
        return fail(m_file->errorString());
    return true;
}

bool SafeSave::commit()
{
    if (m_failed || !m_file)
        return false;
    if (m_file->error() != QFileDevice::NoError)
        return fail(m_file->errorString());
    if (!m_file->flush() || !syncFile(*m_file))
        return fail(systemError());
    m_file->close();
    if (m_file->error() != QFileDevice::NoError)
        return fail(m_file->errorString());
#ifdef Q_OS_WIN
    QFile::setPermissions(m_path, QFile::permissions(m_path) | QFileDevice::WriteOwner);
#endif
    std::error_code error;
    std::filesystem::rename(nativePath(m_tempPath), nativePath(m_path), error);
    if (error)
        return fail(QString::fromStdString(error.message()));
    m_tempPath.clear();
    m_replaced = true;
    if (!syncFolder(folderPart(m_path)))
        return fail(QStringLiteral("The file was replaced, but its folder could not be synced, so a power cut may "
                                   "bring back the old one: ")
                    + systemError());
    return true;
}

bool saveFile(const QString &path, QByteArrayView content, QString *error)
{
    SafeSave save(path);
    const bool saved = save.open() && save.write(content) && save.commit();
    if (!saved && error)
        *error = save.errorString();
    return saved;
}

bool syncFile(QFileDevice &file)
{
    if (!file.flush())
        return false;
    // A device without a descriptor holds nothing the system could sync.
    if (file.handle() < 0)
        return true;
#ifdef Q_OS_WIN
    return ::_commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

bool syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const Descriptor fd(::open(fileNameBytes(folder.isEmpty() ? QStringLiteral(".") : folder).constData(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.get() >= 0 && ::fsync(fd.get()) == 0;
#else
    Q_UNUSED(folder);
    return true;
#endif
}

} // namespace platform
