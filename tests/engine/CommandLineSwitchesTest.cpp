#include "engine/CommandLineSwitches.h"

#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

StartRequest apply(const QStringList &arguments, ZentavoSettings &settings)
{
    return ApplySwitches(arguments, settings, QStringLiteral("/default/Jobs.dat"));
}

QString inCurrentFolder(const QString &name)
{
    return QDir::currentPath() + u'/' + name;
}

} // namespace

TEST(CommandLineSwitches, SwitchesActInOrderWhateverTheirCase)
{
    ZentavoSettings settings;
    settings.Run.CheckBoxRep = true;
    StartRequest request = apply({QStringLiteral("/run"), QStringLiteral("/Close"), QStringLiteral("print"),
                                  QStringLiteral("/r-"), QStringLiteral("/M"), QStringLiteral("/p")},
                                 settings);
    EXPECT_TRUE(request.ok());
    EXPECT_TRUE(request.AutoRun);
    EXPECT_TRUE(settings.Run.CheckBoxAClose);
    EXPECT_TRUE(settings.Run.CheckBoxAPrint);
    EXPECT_FALSE(settings.Run.CheckBoxRep);
    // "M" then "P" leaves only the pause.
    EXPECT_TRUE(settings.CheckBoxPause);
    EXPECT_FALSE(settings.CheckBoxMenu);
    EXPECT_EQ(request.JobFileName, QStringLiteral("/default/Jobs.dat"));

    // "P" then "M" leaves both.
    ZentavoSettings both;
    EXPECT_TRUE(apply({QStringLiteral("P"), QStringLiteral("M"), QStringLiteral("/?")}, both).ok());
    EXPECT_TRUE(both.CheckBoxPause);
    EXPECT_TRUE(both.CheckBoxMenu);
    EXPECT_FALSE(apply({QStringLiteral("/?")}, both).AutoRun);
}

TEST(CommandLineSwitches, JobFileKeepsItsOwnLetters)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("Mixed Case.Dat"));
    QFile(existing).open(QIODevice::WriteOnly);
    ZentavoSettings settings;

    EXPECT_EQ(apply({existing}, settings).JobFileName, existing);
    EXPECT_EQ(apply({QStringLiteral("/home/Me/Backup/Night.DAT")}, settings).JobFileName,
              QStringLiteral("/home/Me/Backup/Night.DAT"));
    EXPECT_EQ(apply({QStringLiteral("Night.dat")}, settings).JobFileName, inCurrentFolder(QStringLiteral("Night.dat")));
    // A switch mark before a bare name is no path of its own.
    EXPECT_EQ(apply({QStringLiteral("/Night.dat")}, settings).JobFileName,
              inCurrentFolder(QStringLiteral("Night.dat")));
    EXPECT_EQ(apply({QStringLiteral("sub/Night.dat")}, settings).JobFileName, QStringLiteral("sub/Night.dat"));
}

TEST(CommandLineSwitches, TimeLimitTakesTheTextAfterItsMark)
{
    ZentavoSettings settings;
    EXPECT_TRUE(apply({QStringLiteral("/t:15")}, settings).ok());
    EXPECT_TRUE(settings.CheckBoxTime);
    EXPECT_EQ(settings.EditTime, QStringLiteral("15"));
    EXPECT_TRUE(apply({QStringLiteral("T:soon")}, settings).ok());
    EXPECT_EQ(settings.EditTime, QStringLiteral("soon"));
}

TEST(CommandLineSwitches, UnknownArgumentStopsTheScanAndNamesIt)
{
    ZentavoSettings settings;
    const StartRequest request
        = apply({QStringLiteral(""), QStringLiteral("/bogus"), QStringLiteral("/run")}, settings);
    EXPECT_FALSE(request.ok());
    EXPECT_EQ(request.UnknownArgument, QStringLiteral("BOGUS"));
    EXPECT_FALSE(request.AutoRun);
    EXPECT_FALSE(apply({QStringLiteral("/")}, settings).ok());

    const QString usage = UsageText(request.UnknownArgument);
    EXPECT_TRUE(usage.startsWith(zentavo::sKey1Error + QStringLiteral(" BOGUS\r\r") + zentavo::sKey2Error));
}

// The help lists every switch the program takes, and each switch it lists
// is one the program knows: the two cannot drift apart.
TEST(CommandLineSwitches, HelpListsEverySwitchAndOnlyThoseTheProgramKnows)
{
    QStringList listed;
    for (const QString &line : CommandLineHelp().split(u'\n')) {
        if (line.startsWith(QStringLiteral("  ")) && !line.startsWith(QStringLiteral("   ")))
            listed << line.trimmed().section(u' ', 0, 0);
    }
    EXPECT_EQ(listed,
              (QStringList{QStringLiteral("/RUN"), QStringLiteral("/CLOSE"), QStringLiteral("/PRINT"),
                           QStringLiteral("/R-"), QStringLiteral("/M"), QStringLiteral("/P"),
                           QStringLiteral("/T:minutes"), QStringLiteral("name.dat"), QStringLiteral("/?")}));
    for (const QString &argument : listed) {
        ZentavoSettings settings;
        EXPECT_TRUE(apply({argument}, settings).ok()) << qPrintable(argument);
    }
}

TEST(CommandLineSwitches, RunMinimizedComesFromTheEnvironmentOnceAndOnlyAsOne)
{
    const QByteArray name = zentavo::EnvRunMinimized.toLatin1();
    qputenv(name.constData(), "1");
    EXPECT_TRUE(TakeRunMinimizedRequest());
    EXPECT_FALSE(qEnvironmentVariableIsSet(name.constData()));
    EXPECT_FALSE(TakeRunMinimizedRequest());
    qputenv(name.constData(), "0");
    EXPECT_FALSE(TakeRunMinimizedRequest());
}

TEST(CommandLineSwitches, HelpIsAskedByTheFirstArgumentOnly)
{
    const struct {
        QStringList arguments;
        bool helpAsked;
    } cases[] = {
        {{QStringLiteral("/?")}, true},
        {{QStringLiteral("?"), QStringLiteral("/run")}, true},
        {{QStringLiteral("/run"), QStringLiteral("/?")}, false},
        {{QStringLiteral("/??")}, false},
        {{}, false},
    };
    for (const auto &row : cases) {
        ZentavoSettings settings;
        EXPECT_EQ(apply(row.arguments, settings).HelpAsked, row.helpAsked) << row.arguments.join(u' ').toStdString();
    }
}
