#include "ChmArchive.h"

#include "platform/AnonymousFile.h"
#include "platform/ChildRun.h"

#include <QFile>
#include <QFileInfo>

#include <chm_lib.h>

#include <cstdlib>

namespace help {

namespace {

// Objects larger than this are no help text; a damaged length must not make
// the reader allocate without bound.
constexpr LONGUINT64 MaximumObjectSize = 64ULL * 1024 * 1024;

int collectFile(chmFile *, chmUnitInfo *unit, void *context)
{
    const QString path = QString::fromUtf8(unit->path);
    if (path.startsWith(u'/') && !path.startsWith(QLatin1String("/#")) && !path.startsWith(QLatin1String("/$"))
        && !path.endsWith(u'/'))
        static_cast<QStringList *>(context)->append(path);
    return CHM_ENUMERATOR_CONTINUE;
}

constexpr qint64 MaximumFileSize = qint64(256) * 1024 * 1024;
constexpr std::chrono::seconds CheckTimeLimit(10);

int readWholeObject(chmFile *file, chmUnitInfo *unit, void *)
{
    if (unit->length == 0 || unit->length > MaximumObjectSize)
        return CHM_ENUMERATOR_CONTINUE;
    void *buffer = std::malloc(size_t(unit->length));
    if (buffer == nullptr)
        return CHM_ENUMERATOR_FAILURE;
    chm_retrieve_object(file, unit, static_cast<unsigned char *>(buffer), 0, LONGINT64(unit->length));
    std::free(buffer);
    return CHM_ENUMERATOR_CONTINUE;
}

// The library trusts the file's tables, and a damaged file can bring it
// down: the file is opened and read through once in a child process first,
// and used only when the child came through. Where the system makes no
// child processes the file is used unchecked.
bool readsSafely(const QByteArray &path)
{
    if (!platform::ForksChildren)
        return true;
    return platform::runInChild(
               [&path] {
                   chmFile *file = chm_open(path.constData());
                   if (file == nullptr)
                       return 1;
                   const int enumerated = chm_enumerate(file, CHM_ENUMERATE_ALL, &readWholeObject, nullptr);
                   chm_close(file);
                   return enumerated != 0 ? 0 : 1;
               },
               CheckTimeLimit)
        .succeeded();
}

} // namespace

void ChmArchive::Closer::operator()(chmFile *file) const
{
    chm_close(file);
}

ChmArchive::ChmArchive(std::unique_ptr<platform::AnonymousFile> copy, chmFile *file)
    : m_copy(std::move(copy))
    , m_file(file)
{
}

ChmArchive::~ChmArchive() = default;

std::unique_ptr<ChmArchive> ChmArchive::open(const QString &path)
{
    // A private copy cannot change between its check and its use.
    QFile original(path);
    if (!QFileInfo(path).isFile() || original.size() > MaximumFileSize || !original.open(QIODevice::ReadOnly))
        return nullptr;
    auto copy = std::make_unique<platform::AnonymousFile>(original.readAll());
    if (!copy->isOpen())
        return nullptr;
    const QByteArray copyPath = QFile::encodeName(copy->path());
    if (!readsSafely(copyPath))
        return nullptr;
    chmFile *file = chm_open(copyPath.constData());
    if (file == nullptr)
        return nullptr;
    return std::unique_ptr<ChmArchive>(new ChmArchive(std::move(copy), file));
}

bool ChmArchive::contains(const QString &object) const
{
    chmUnitInfo unit{};
    return chm_resolve_object(m_file.get(), object.toUtf8().constData(), &unit) == CHM_RESOLVE_SUCCESS;
}

std::optional<QByteArray> ChmArchive::read(const QString &object) const
{
    chmUnitInfo unit{};
    if (chm_resolve_object(m_file.get(), object.toUtf8().constData(), &unit) != CHM_RESOLVE_SUCCESS
        || unit.length > MaximumObjectSize)
        return std::nullopt;
    QByteArray data(qsizetype(unit.length), '\0');
    if (unit.length > 0) {
        const LONGINT64 got = chm_retrieve_object(m_file.get(), &unit, reinterpret_cast<unsigned char *>(data.data()),
                                                  0, LONGINT64(unit.length));
        if (got != LONGINT64(unit.length))
            return std::nullopt;
    }
    return data;
}

QStringList ChmArchive::files() const
{
    QStringList names;
    chm_enumerate(m_file.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, &collectFile, &names);
    return names;
}

} // namespace help
