#include "JobChecks.h"

namespace pelvo {

MissingField missingField(const TBlock &block)
{
    if (block.GetStr(ArchiveName).isEmpty())
        return MissingField::ArchiveName;
    if (block.Sources.isEmpty())
        return MissingField::Sources;
    return MissingField::None;
}

QString jobNameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("A job needs a name.");
    if (name.startsWith(u'>') || name.startsWith(QStringLiteral("//")))
        return QStringLiteral("A job name cannot start with \">\" or \"//\": \"%1\".").arg(name);
    if (name.contains(u'\r') || name.contains(u'\n'))
        return QStringLiteral("A job name cannot hold a line break.");
    return {};
}

} // namespace pelvo
