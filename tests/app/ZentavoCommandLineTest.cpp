// The real main program started without a screen, as over ssh or from cron:
// what it prints is all a user gets there.
#include "SuiteUser.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

namespace {

class ZentavoWithoutAScreen : public ::testing::Test {
protected:
    void SetUp() override { testapp::application(); }

    int run(const QStringList &arguments) { return user.run(QStringLiteral(ZENTAVO_PROGRAM), arguments, 30000); }

    SuiteUser user;
};

} // namespace

TEST_F(ZentavoWithoutAScreen, HelpGoesToStandardOutputAndAnUnknownSwitchToStandardError)
{
    ASSERT_EQ(run({QStringLiteral("/?")}), 0) << user.errors.constData();
    const QByteArray help = user.output;
    EXPECT_TRUE(help.startsWith("Usage: Zentavo [switches] [jobfile.dat]\n")) << help.constData();
    for (const char *line : {"\n  /RUN         start an automatic run of the enabled jobs at once\n",
                             "\n  /CLOSE       close the program after an automatic run\n",
                             "\n  /T:minutes   start the run by itself after this many minutes of the\n",
                             "\n  name.dat     the job file to use instead of the default one; a name\n"})
        EXPECT_TRUE(help.contains(line)) << line;
    EXPECT_EQ(user.errors, QByteArray());

    const struct {
        const char *argument;
        const char *told;
    } unknown[] = {{"/bogus", "BOGUS"}, {"--help", "--HELP"}};
    for (const auto &c : unknown) {
        EXPECT_EQ(run({QString::fromLatin1(c.argument)}), 2) << c.argument;
        EXPECT_EQ(user.output, QByteArray()) << c.argument;
        EXPECT_TRUE(user.errors.startsWith(QByteArray("The Zentavo: Unknown key: ") + c.told
                                           + "\n\nFor getting help use the key /?\n\n"))
            << user.errors.constData();
    }
}

TEST_F(ZentavoWithoutAScreen, AJobFileThatCannotBeReadIsToldOnce)
{
    const QString missing = user.path(QStringLiteral("Missing.dat"));
    EXPECT_EQ(run({QStringLiteral("/run"), QStringLiteral("/close"), missing}), 2);
    const QByteArray told = "File read error " + QFile::encodeName(missing);
    EXPECT_EQ(user.errors.count(told), 1) << user.errors.constData();
}
