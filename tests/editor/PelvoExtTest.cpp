#include "editor/PelvoExt.h"

#include <gtest/gtest.h>

using namespace pelvo;

TEST(TStringListMyExt, SplitsKindTailAndValue)
{
    const TStringListMyExt list{QStringLiteral("W>/arc/=1"), QStringLiteral("CMD2>notepad=06"),
                                QStringLiteral("/arc/=1"), QStringLiteral("CMD1>a=b=06"), QStringLiteral("=abc")};
    EXPECT_EQ(list.KeyAt(0), QStringLiteral("W"));
    EXPECT_EQ(list.TailAt(0), QStringLiteral("/arc/"));
    EXPECT_EQ(list.ValueAt(0), QStringLiteral("1"));
    EXPECT_EQ(list.KeyAt(1), QStringLiteral("CMD2"));
    EXPECT_EQ(list.TailAt(1), QStringLiteral("notepad"));
    EXPECT_EQ(list.KeyAt(2), QString());
    EXPECT_EQ(list.TailAt(2), QStringLiteral("/arc/"));
    // The editor writes no "=" into days or flags: a command typed with "="
    // stays whole (for the save to refuse) and keeps its days.
    EXPECT_EQ(list.TailAt(3), QStringLiteral("a=b"));
    EXPECT_EQ(list.ValueAt(3), QStringLiteral("06"));
    // The editor keeps an empty name for a line that starts with "=".
    EXPECT_EQ(list.NameAt(4), QString());
    EXPECT_EQ(list.ValueAt(4), QStringLiteral("abc"));
    EXPECT_EQ(list.TailAt(4), QString());
}

TEST(TBufferBlock, CarriesTheJobName)
{
    TBufferBlock block;
    block.SetStr(ArchiveName, QStringLiteral("a.zip"));
    block.SetBuffer(QStringLiteral("Daily"));
    EXPECT_EQ(block.GetBuffer(), QStringLiteral("Daily"));
    EXPECT_EQ(block.GetStr(ArchiveName), QStringLiteral("a.zip"));
    EXPECT_EQ(block.GetStr(Comment), QString());
}
