#include "ChmArchive.h"

#include <QFile>
#include <QFileInfo>

#include <chm_lib.h>

namespace help {

namespace {

// Objects larger than this are no help text; a damaged length must not make
// the reader allocate without bound.
constexpr LONGUINT64 MaximumObjectSize = 64 * 1024 * 1024;

int collectFile(chmFile *, chmUnitInfo *unit, void *context)
{
    const QString path = QString::fromUtf8(unit->path);
    if (path.startsWith(u'/') && !path.startsWith(QLatin1String("/#")) && !path.startsWith(QLatin1String("/$"))
        && !path.endsWith(u'/'))
        static_cast<QStringList *>(context)->append(path);
    return CHM_ENUMERATOR_CONTINUE;
}

} // namespace

void ChmArchive::Closer::operator()(chmFile *file) const
{
    chm_close(file);
}

ChmArchive::ChmArchive(chmFile *file)
    : m_file(file)
{
}

std::unique_ptr<ChmArchive> ChmArchive::open(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return nullptr;
    chmFile *file = chm_open(QFile::encodeName(path).constData());
    if (file == nullptr)
        return nullptr;
    return std::unique_ptr<ChmArchive>(new ChmArchive(file));
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
        const LONGINT64 got = chm_retrieve_object(m_file.get(), &unit, reinterpret_cast<unsigned char *>(data.data()), 0,
                                                  LONGINT64(unit.length));
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
