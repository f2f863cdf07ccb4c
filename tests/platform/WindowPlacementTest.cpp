#include "platform/widgets/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPlacementTest, ARectangleIsMovedAndShrunkIntoTheArea)
{
    const QRect area(0, 24, 1024, 744);
    const struct {
        QRect rect;
        QRect kept;
    } cases[] = {
        {QRect(100, 100, 300, 200), QRect(100, 100, 300, 200)},
        // The help window that opened partly off the screen.
        {QRect(2, 519, 760, 520), QRect(2, 248, 760, 520)},
        {QRect(900, -50, 300, 200), QRect(724, 24, 300, 200)},
        {QRect(-40, 700, 300, 200), QRect(0, 568, 300, 200)},
        {QRect(-10, 0, 2000, 900), area},
    };
    for (const auto &c : cases)
        EXPECT_EQ(platform::KeptWithin(c.rect, area), c.kept) << c.rect.x() << ',' << c.rect.y();
}

} // namespace
