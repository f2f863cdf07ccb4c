#include "platform/Wildcard.h"

#include "Deadline.h"

#include <gtest/gtest.h>

using platform::matchesAnyMask;
using platform::matchesMask;

TEST(Wildcard, StarDotStarMatchesEveryName)
{
    for (const char16_t *name : {u"a.txt", u"README", u".profile", u"x.tar.gz", u"a."})
        EXPECT_TRUE(matchesMask(QString::fromUtf16(name), QStringLiteral("*.*")))
            << QString::fromUtf16(name).toStdString();
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

TEST(Wildcard, ArchiverMasksKnowSetsRangesAndComplements)
{
    struct Case {
        const char16_t *name;
        const char16_t *mask;
        bool matches;
    };
    const Case cases[] = {
        {u"a.doc", u"[a-c]*.doc", true},   {u"Budget.doc", u"[a-c]*.doc", true}, {u"d.doc", u"[a-c]*.doc", false},
        {u"x1.txt", u"x[0-9].txt", true},  {u"xa.txt", u"x[0-9].txt", false},    {u"d.doc", u"[!a-c]*.doc", true},
        {u"a.doc", u"[!a-c]*.doc", false}, {u"ab.doc", u"[xab][xab].doc", true}, {u"report-b", u"*[b-c]", true},
        {u"data", u"[d]ata.*", true},      {u"б.txt", u"[а-в].txt", true},       {u"a-.txt", u"a[-].txt", true},
    };
    for (const Case &c : cases) {
        const QString name = QString::fromUtf16(c.name);
        const QString mask = QString::fromUtf16(c.mask);
        EXPECT_EQ(platform::matchesMaskWithSets(name, mask), c.matches)
            << name.toStdString() << " ~ " << mask.toStdString();
    }
    // Outside the archiver a bracket is an ordinary character of a name.
    EXPECT_TRUE(matchesMask(QStringLiteral("[a-c].doc"), QStringLiteral("[a-c].doc")));
}

TEST(Wildcard, MalformedArchiverMasksRaiseWithThePosition)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("[a-c*.doc"), QStringLiteral("'[a-c*.doc' is an invalid mask at (10)")},
        {QStringLiteral("a[].txt"), QStringLiteral("'a[].txt' is an invalid mask at (3)")},
        {QString(31, u'*'), QStringLiteral("'%1' is an invalid mask at (31)").arg(QString(31, u'*'))},
    };
    for (const auto &[mask, text] : cases) {
        try {
            platform::matchesMaskWithSets(QStringLiteral("a.doc"), mask);
            ADD_FAILURE() << "no error for " << mask.toStdString();
        } catch (const platform::InvalidMask &error) {
            EXPECT_EQ(QString::fromStdString(error.what()), text);
        }
    }
    EXPECT_NO_THROW(platform::checkMaskWithSets(QString(30, u'*')));
}
