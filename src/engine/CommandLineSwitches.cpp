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
    return zentavo::sKey1Error + u' ' + unknownArgument + QStringLiteral("\r\r") + zentavo::sKey2Error
        + QStringLiteral("\r\r") + zentavo::GetVersionInfoStr();
}

QString CommandLineHelp()
{
    return QStringLiteral("Usage: Zentavo [switches] [jobfile.dat]\n"
                          "Without arguments the program opens the default job file of its settings\n"
                          "and waits for the user. Switches are not case sensitive and may start\n"
                          "with \"/\"; they change the settings for this run only.\n"
                          "\n"
                          "  /RUN         start an automatic run of the enabled jobs at once\n"
                          "  /CLOSE       close the program after an automatic run\n"
                          "  /PRINT       print the report after an automatic run\n"
                          "  /R-          write no report file for this run\n"
                          "  /M           show the job menu before the run: choose the jobs to run\n"
                          "  /P           pause before the run (and no job menu)\n"
                          "  /T:minutes   start the run by itself after this many minutes of the\n"
                          "               pause or the job menu\n"
                          "  name.dat     the job file to use instead of the default one; a name\n"
                          "               without a folder is taken from the current folder\n"
                          "  /?           show this help (on a screen: the help window)\n");
}

bool TakeRunMinimizedRequest()
{
    const QByteArray name = zentavo::EnvRunMinimized.toLatin1();
    const bool minimised = qEnvironmentVariable(name.constData()) == u"1";
    qunsetenv(name.constData());
    return minimised;
}
