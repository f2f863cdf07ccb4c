#include "EditorStart.h"

#include "editor/PelvoExt.h"
#include "platform/Paths.h"

#include <QDir>

namespace pelvo {

namespace {

QString withoutQuotes(const QString &argument)
{
    if (argument.size() >= 2 && argument.startsWith(u'"') && argument.endsWith(u'"'))
        return argument.mid(1, argument.size() - 2);
    return argument;
}

// "/jobs.dat" (and "/C:\Jobs\A.dat" where drives exist) is the switch form;
// "/home/anna/jobs.dat" is a path.
QString withoutSwitchMark(const QString &argument)
{
    if (!argument.startsWith(u'/'))
        return argument;
    const QString rest = argument.mid(1);
    if (!platform::hasFolderPart(rest) || (QDir::isAbsolutePath(rest) && !rest.startsWith(u'/')))
        return rest;
    return argument;
}

} // namespace

QString StartJobFile(const QStringList &arguments, const QString &defaultDat, const QString &programFolder)
{
    QString file = defaultDat;
    if (!arguments.isEmpty()) {
        const QString argument = withoutQuotes(arguments.constFirst().trimmed());
        if (argument.toUpper().contains(QStringLiteral(".DAT")))
            file = withoutSwitchMark(argument);
    }
    if (file.isEmpty())
        return NoNameDat;
    if (file != NoNameDat && !platform::hasFolderPart(file))
        file = platform::withTrailingSeparator(programFolder) + file;
    return file;
}

} // namespace pelvo
