#include "shared/BuiltInCommand.h"

#include <gtest/gtest.h>

TEST(BuiltInCommand, ParsesTheThreeFormsTheEditorWrites)
{
    const auto copy = BuiltInCommand::parse(QStringLiteral("CCPY \"/a b/*.txt\" TO \"/c/\""));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->kind, BuiltInCommand::Kind::Copy);
    EXPECT_EQ(copy->source, QStringLiteral("/a b/*.txt"));
    EXPECT_EQ(copy->target, QStringLiteral("/c/"));

    const auto move = BuiltInCommand::parse(QStringLiteral("cren \"/a\" TO \"/b/*.bak\""));
    ASSERT_TRUE(move);
    EXPECT_EQ(move->kind, BuiltInCommand::Kind::Move);

    const auto remove = BuiltInCommand::parse(QStringLiteral("CDEL \"/tmp/old/*.*\""));
    ASSERT_TRUE(remove);
    EXPECT_EQ(remove->kind, BuiltInCommand::Kind::Delete);
    EXPECT_EQ(remove->source, QStringLiteral("/tmp/old/*.*"));
}

TEST(BuiltInCommand, DamagedLinesAreFileCommandsThatDoNotParse)
{
    for (const QString &line :
         {QStringLiteral("CCPY /a TO /b"), QStringLiteral("CCPY \"/a\""), QStringLiteral("CCPY \"/a\" \"/b\""),
          QStringLiteral("CREN \"\" TO \"/b\""), QStringLiteral("CDEL \"\""), QStringLiteral("CDEL"),
          QStringLiteral("CCPY \"/a\" TO \"/b")}) {
        EXPECT_TRUE(BuiltInCommand::isBuiltIn(line)) << line.toStdString();
        EXPECT_FALSE(BuiltInCommand::parse(line)) << line.toStdString();
    }
    EXPECT_FALSE(BuiltInCommand::isBuiltIn(QStringLiteral("cp /a /b")));
    EXPECT_FALSE(BuiltInCommand::isBuiltIn(QStringLiteral("CCP")));
}
