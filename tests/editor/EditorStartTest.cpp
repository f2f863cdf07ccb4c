#include "editor/EditorStart.h"
#include "editor/JobChecks.h"

#include <gtest/gtest.h>

using namespace pelvo;

TEST(StartJobFile, TakesTheArgumentOrTheDefault)
{
    const QString folder = QStringLiteral("/opt/zentavo");
    const QString fallback = QStringLiteral("/home/anna/default.dat");
    struct Case {
        QStringList arguments;
        QString defaultDat;
        QString expected;
    };
    const Case cases[] = {
        {{}, {}, NoNameDat},
        {{}, fallback, fallback},
        // An absolute path keeps its leading separator; "/jobs.dat" is the switch form.
        {{QStringLiteral("/home/anna/jobs.DAT")}, fallback, QStringLiteral("/home/anna/jobs.DAT")},
        {{QStringLiteral("/jobs.dat")}, {}, QStringLiteral("/opt/zentavo/jobs.dat")},
        {{QStringLiteral("\"/home/anna/my jobs.dat\"")}, {}, QStringLiteral("/home/anna/my jobs.dat")},
        {{QStringLiteral("jobs.dat")}, {}, QStringLiteral("/opt/zentavo/jobs.dat")},
        {{QStringLiteral("notes.txt")}, fallback, fallback},
        {{QStringLiteral("sub/jobs.dat")}, {}, QStringLiteral("sub/jobs.dat")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StartJobFile(c.arguments, c.defaultDat, folder), c.expected) << c.arguments.value(0).toStdString();
}

TEST(JobChecks, RefusesNamesThatReadAsSomethingElse)
{
    for (const char *bad : {"", "  ", ">", ">job", "//job", "a\r\nb"})
        EXPECT_FALSE(jobNameProblem(QString::fromLatin1(bad)).isEmpty()) << bad;
    for (const char *good : {"Home", "a > b", "a // b", "x=y"})
        EXPECT_TRUE(jobNameProblem(QString::fromLatin1(good)).isEmpty()) << good;
}
