#include "shared/JobFileLines.h"

#include <gtest/gtest.h>

using namespace jobfile;

namespace {

QList<JobSection> sectionsOf(const QStringList &lines, EmptyLine rule = EmptyLine::Skipped)
{
    LineReader reader(lines);
    return readSections(reader, rule);
}

} // namespace

TEST(JobFileLines, ReaderSkipsCommentLinesEverywhere)
{
    LineReader reader({QStringLiteral("// a"), QStringLiteral("x"), QStringLiteral("//"), QStringLiteral("/y"),
                       QStringLiteral("// end")});
    EXPECT_EQ(reader.next(), QStringLiteral("x"));
    EXPECT_EQ(reader.next(), QStringLiteral("/y"));
    EXPECT_EQ(reader.next(), std::nullopt);
}

TEST(JobFileLines, KeyTestTakesOlderKeysAndAnyCase)
{
    EXPECT_TRUE(hasKey(QStringLiteral("d=/src"), Key::Source));
    EXPECT_TRUE(hasKey(QStringLiteral(u"\u0434:/src"), Key::Source)); // lower-case Cyrillic
    EXPECT_TRUE(hasKey(QStringLiteral(u"\u0421:comment"), Key::Comment));
    // The Latin C with a colon is no older key.
    EXPECT_FALSE(hasKey(QStringLiteral("C:comment"), Key::Comment));
    EXPECT_FALSE(hasKeyAsWritten(QStringLiteral("w=/week"), Key::WeekCopy));
    EXPECT_TRUE(hasKeyAsWritten(QStringLiteral(u"\u041D:/week"), Key::WeekCopy));
    EXPECT_FALSE(hasKey(QStringLiteral("D"), Key::Source));
}

TEST(JobFileLines, SectionFieldsAndTail)
{
    const auto sections = sectionsOf(
        {QStringLiteral("any header"), QStringLiteral("D=not a job"), QStringLiteral(">"), QStringLiteral("Job one"),
         QStringLiteral("arc"), QStringLiteral("/src/a"), QStringLiteral("// note"), QStringLiteral("D=/src/b"),
         QStringLiteral("C=my comment"), QStringLiteral("E=*.tmp|*.bak"), QStringLiteral("E=*.o"),
         QStringLiteral("/dest=135"), QStringLiteral("CMD1=ls=0"), QStringLiteral(">"), QStringLiteral("Job two"),
         QStringLiteral("arc2"), QStringLiteral("D=/x"), QStringLiteral("C=")});
    ASSERT_EQ(sections.size(), 2);
    const JobSection &one = sections[0];
    EXPECT_EQ(one.name, QStringLiteral("Job one"));
    EXPECT_EQ(one.archive, QStringLiteral("arc"));
    EXPECT_EQ(one.sources, QStringList({QStringLiteral("/src/a"), QStringLiteral("/src/b")}));
    EXPECT_EQ(one.exclusions, QStringList({QStringLiteral("*.tmp|*.bak"), QStringLiteral("*.o")}));
    EXPECT_EQ(one.comment, QStringLiteral("my comment"));
    EXPECT_EQ(one.tail, QStringList({QStringLiteral("/dest=135"), QStringLiteral("CMD1=ls=0")}));
    EXPECT_EQ(sections[1].sources, QStringList{QStringLiteral("/x")});
    EXPECT_EQ(sections[1].exclusions, QStringList{QString()});
    EXPECT_TRUE(sections[1].tail.isEmpty());
}

TEST(JobFileLines, MalformedSectionsLoseNothingAndInventNothing)
{
    // No comment line: the line after the sources is a tail line, not a comment.
    // Surplus exclusion lines have no source and are passed over.
    const auto sections
        = sectionsOf({QStringLiteral(">"), QStringLiteral("J"), QStringLiteral("a"), QStringLiteral("D=/s"),
                      QStringLiteral("/dest"), QStringLiteral(">"), QStringLiteral("K"), QStringLiteral("b"),
                      QStringLiteral("D=/t"), QStringLiteral("C=c"), QStringLiteral("E=1"), QStringLiteral("E=2")});
    ASSERT_EQ(sections.size(), 2);
    EXPECT_EQ(sections[0].comment, QString());
    EXPECT_EQ(sections[0].tail, QStringList{QStringLiteral("/dest")});
    EXPECT_EQ(sections[1].exclusions, QStringList{QStringLiteral("1")});
    EXPECT_TRUE(sections[1].tail.isEmpty());

    EXPECT_TRUE(sectionsOf({QStringLiteral("no mark")}).isEmpty());
}

TEST(JobFileLines, EmptyLineRules)
{
    const QStringList lines{QStringLiteral(">"),
                            QStringLiteral("J"),
                            QStringLiteral("a"),
                            QStringLiteral("D=/s"),
                            QStringLiteral("C="),
                            QStringLiteral("E="),
                            QStringLiteral("/d"),
                            QString(),
                            QStringLiteral("K"),
                            QStringLiteral("b"),
                            QStringLiteral("D=/t"),
                            QString(),
                            QString()};
    // The main program: an empty line ends the section and the next line
    // names the next job; empty lines between sections are no jobs.
    const auto main = sectionsOf(lines, EmptyLine::EndsSection);
    ASSERT_EQ(main.size(), 2);
    EXPECT_EQ(main[0].tail, QStringList{QStringLiteral("/d")});
    EXPECT_EQ(main[1].name, QStringLiteral("K"));

    // The editor passes over empty lines and reads on.
    const auto editor = sectionsOf(lines, EmptyLine::Skipped);
    ASSERT_EQ(editor.size(), 1);
    EXPECT_EQ(editor[0].tail,
              QStringList({QStringLiteral("/d"), QStringLiteral("K"), QStringLiteral("b"), QStringLiteral("D=/t")}));
}
