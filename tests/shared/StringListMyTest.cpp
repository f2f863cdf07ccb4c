#include "shared/StringListMy.h"

#include <gtest/gtest.h>

TEST(TStringListMy, SplitsAtTheFirstEquals)
{
    const TStringListMy list{QStringLiteral("/arc/=135"), QStringLiteral("/arc"), QStringLiteral("a=b=06"),
                             QStringLiteral("=abc")};
    EXPECT_EQ(list.NameAt(0), QStringLiteral("/arc/"));
    EXPECT_EQ(list.ValueAt(0), QStringLiteral("135"));
    EXPECT_EQ(list.NameAt(1), QStringLiteral("/arc"));
    EXPECT_EQ(list.ValueAt(1), QString());
    EXPECT_EQ(list.NameAt(2), QStringLiteral("a"));
    EXPECT_EQ(list.ValueAt(2), QStringLiteral("b=06"));
    // The main program looks at a line with an empty name whole.
    EXPECT_EQ(list.NameAt(3), QStringLiteral("=abc"));
    EXPECT_EQ(list.ValueAt(3), QStringLiteral("abc"));
}
