#include "CommandLineSwitches.h"

#include "platform/Paths.h"
#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"
#include "shared/ZetuUnit.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Where "/" is the separator, an argument like "/home/me/Jobs.dat" is a path
// rather than a switch mark before a name: it names a file, or a folder
// follows the mark.
bool isAbsoluteLinuxPath(const QString &argument, const QString &withoutMark)
{
    return platform::separator() == u'/' && argument.startsWith(u'/')
        && (QFileInfo::exists(argument) || platform::hasFolderPart(withoutMark));
}

} // namespace

StartRequest ApplySwitches(const QStringList &arguments, ZentavoSettings &settings, const QString &jobFileName)
{
    StartRequest request;
    request.JobFileName = jobFileName;
    const QString first = arguments.value(0);
    request.HelpAsked = first == u"/?" || first == u"?";
    for (const QString &argument : arguments) {
        if (argument.isEmpty())
            continue;
        const QString asGiven = argument.startsWith(u'/') ? argument.mid(1) : argument;
        const QString key = asGiven.toUpper();
        if (key == u"R-") {
            settings.Run.CheckBoxRep = false;
        } else if (key == u"P") {
            settings.CheckBoxPause = true;
            settings.CheckBoxMenu = false;
        } else if (key == u"M") {
            settings.CheckBoxMenu = true;
        } else if (key == u"CLOSE") {
            settings.Run.CheckBoxAClose = true;
        } else if (key == u"PRINT") {
            settings.Run.CheckBoxAPrint = true;
        } else if (key.contains(u".DAT")) {
            const QString path = isAbsoluteLinuxPath(argument, asGiven) ? argument : asGiven;
            request.JobFileName = platform::hasFolderPart(path)
                ? path
                : platform::withTrailingSeparator(QDir::toNativeSeparators(QDir::currentPath())) + path;
        } else if (key.startsWith(u"T:")) {
            settings.CheckBoxTime = true;
            settings.EditTime = asGiven.mid(2);
        } else if (key == u"RUN") {
            request.AutoRun = true;
        } else if (key != u"?") {
            request.UnknownArgument = key;
            break;
        }
    }
    return request;
}

QString UsageText(const QString &unknownArgument)
{
    const QString unknown
        = unknownArgument.isEmpty() ? QString() : zentavo::sKey1Error + u' ' + unknownArgument + QStringLiteral("\r\r");
    return unknown + zentavo::sKey2Error + QStringLiteral("\r\r") + zentavo::GetVersionInfoStr();
}

bool TakeRunMinimizedRequest()
{
    const QByteArray name = zentavo::EnvRunMinimized.toLatin1();
    const bool minimised = qEnvironmentVariable(name.constData()) == u"1";
    qunsetenv(name.constData());
    return minimised;
}
