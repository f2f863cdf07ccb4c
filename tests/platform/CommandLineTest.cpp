#include "platform/CommandLine.h"

#include <gtest/gtest.h>

using platform::splitCommandLine;
using namespace Qt::StringLiterals;

TEST(CommandLine, SplitsAtBlanksAndGroupsQuotedParts)
{
    EXPECT_EQ(splitCommandLine(QStringLiteral("  prog  a\tb  ")), (QStringList{u"prog"_s, u"a"_s, u"b"_s}));
    EXPECT_EQ(splitCommandLine(QStringLiteral("\"/opt/my tools/run\" \"two words\" x\"y z\"w")),
              (QStringList{u"/opt/my tools/run"_s, u"two words"_s, u"xy zw"_s}));
    EXPECT_EQ(splitCommandLine(QStringLiteral("prog \"\" end")), (QStringList{u"prog"_s, u""_s, u"end"_s}));
    EXPECT_TRUE(splitCommandLine(QStringLiteral("   ")).isEmpty());
}

TEST(CommandLine, BackslashesEscapeOnlyQuotes)
{
    // a\\b stays, \" is a quote, \\" is one backslash and the end of a group,
    // "" inside a group is a quote.
    EXPECT_EQ(splitCommandLine(QStringLiteral(R"(prog a\\b \"q\" "c:\dir\\" "say ""hi""")")),
              (QStringList{u"prog"_s, uR"(a\\b)"_s, uR"("q")"_s, uR"(c:\dir\)"_s, uR"(say "hi")"_s}));
}

TEST(CommandLine, ProgramTokenHasNoEscapes)
{
    EXPECT_EQ(splitCommandLine(QStringLiteral(R"("C:\Tools\" arg)")), (QStringList{uR"(C:\Tools\)"_s, u"arg"_s}));
    EXPECT_EQ(splitCommandLine(QStringLiteral("\"unclosed program")), (QStringList{u"unclosed program"_s}));
}

TEST(CommandLine, AProgramTokenReadsBackAsTheProgram)
{
    for (const QString &path :
         {u"/usr/bin/rsync"_s, u"/opt/my tools/run.sh"_s, u"/opt/tab\there"_s, u"C:\\Tools\\"_s}) {
        const std::optional<QString> token = platform::programToken(path);
        ASSERT_TRUE(token) << path.toStdString();
        EXPECT_EQ(splitCommandLine(*token + u" --flag"_s), (QStringList{path, u"--flag"_s})) << path.toStdString();
    }
    EXPECT_EQ(platform::programToken(u"/usr/bin/rsync"_s), u"/usr/bin/rsync"_s) << "no quotes where none are needed";
    EXPECT_FALSE(platform::programToken(u"/odd/\"name\""_s));
}
