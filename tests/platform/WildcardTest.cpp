#include "Wildcard.h"

#include "Deadline.h"

#include <gtest/gtest.h>

using platform::matchesAnyMask;
using platform::matchesMask;

TEST(Wildcard, StarDotStarMatchesEveryName)
{
    for (const char16_t *name : {u"a.txt", u"README", u".profile", u"x.tar.gz", u"a."})
        EXPECT_TRUE(matchesMask(QString::fromUtf16(name), QStringLiteral("*.*"))) << QString::fromUtf16(name).toStdString();
}

TEST(Wildcard, LettersCompareCaseInsensitively)
{
    EXPECT_TRUE(matchesMask(QStringLiteral("REPORT.DOC"), QStringLiteral("*.doc")));
    EXPECT_TRUE(matchesMask(QStringLiteral("Привет.txt"), QStringLiteral("привет.TXT")));
    EXPECT_FALSE(matchesMask(QStringLiteral("report.docx"), QStringLiteral("*.doc")));
}

TEST(Wildcard, QuestionMarkIsExactlyOneCharacter)
{
    EXPECT_TRUE(matchesMask(QStringLiteral("a1.txt"), QStringLiteral("a?.txt")));
    EXPECT_FALSE(matchesMask(QStringLiteral("a.txt"), QStringLiteral("a?.txt")));
    EXPECT_FALSE(matchesMask(QStringLiteral("a12.txt"), QStringLiteral("a?.txt")));
}

TEST(Wildcard, TrailingAnyExtensionMatchesNameWithoutDot)
{
    EXPECT_TRUE(matchesMask(QStringLiteral("data"), QStringLiteral("data.*")));
    EXPECT_TRUE(matchesMask(QStringLiteral("data.zip"), QStringLiteral("data.*")));
    EXPECT_FALSE(matchesMask(QStringLiteral("database"), QStringLiteral("data.*")));
}

TEST(Wildcard, DotFilesAreOrdinaryAndStarsCrossSeparators)
{
    EXPECT_TRUE(matchesMask(QStringLiteral(".bashrc"), QStringLiteral("*")));
    EXPECT_TRUE(matchesMask(QStringLiteral(".bashrc"), QStringLiteral("*rc")));
    EXPECT_TRUE(matchesMask(QStringLiteral("/data/tmp/sub/a.bak"), QStringLiteral("/data/tmp/*")));
    EXPECT_TRUE(matchesMask(QString(), QStringLiteral("*")));
    EXPECT_FALSE(matchesMask(QStringLiteral("a"), QString()));
}

TEST(Wildcard, ManyStarsStayFast)
{
    const QString name = QString(200, u'a') + u'b';
    const QString mask = QStringLiteral("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*c");
    auto matched = std::make_shared<bool>(true);
    // A backtracking matcher takes years here; a linear one, microseconds.
    ASSERT_TRUE(finishesWithin(std::chrono::seconds(2), [=] { *matched = matchesMask(name, mask); }));
    EXPECT_FALSE(*matched);
}

TEST(Wildcard, MaskListsSplitAtSemicolonOrBar)
{
    EXPECT_TRUE(matchesAnyMask(QStringLiteral("a.txt"), QStringLiteral("*.doc; *.TXT")));
    EXPECT_TRUE(matchesAnyMask(QStringLiteral("a.doc"), QStringLiteral("*.doc|*.txt")));
    EXPECT_FALSE(matchesAnyMask(QStringLiteral("a.pdf"), QStringLiteral("*.doc;;*.txt")));
    EXPECT_FALSE(matchesAnyMask(QStringLiteral("a.pdf"), QStringLiteral(" ; ")));
}
