#include "shared/widgets/GradientFill.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zentavo;

namespace {

QImage filled(int width, int height, bool horizontal, const QList<QColor> &colours)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green, 3, Qt::DashLine));
    GradientFill(painter, image.rect(), horizontal, colours);
    EXPECT_EQ(painter.pen(), QPen(Qt::green, 3, Qt::DashLine)) << "the caller's pen is restored";
    return image;
}

} // namespace

TEST(GradientFill, TwoColoursRunEdgeToEdge)
{
    const QImage image = filled(100, 4, true, {Qt::red, Qt::blue});
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(99, 3), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(50, 2).red(), 126); // 255 * 49 / 99, rounded
}

TEST(GradientFill, ThreeColoursShareTheMiddleLine)
{
    // 101 lines: band size 50 (50.5 to the even neighbour); line 50 is drawn
    // last by the second band, in its start colour.
    const QImage image = filled(3, 101, false, {Qt::red, Qt::green, Qt::blue});
    EXPECT_EQ(image.pixelColor(1, 0), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(1, 50), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(1, 100), QColor(Qt::blue));
}

TEST(GradientFill, BandOfNoLinesDrawsTheStartColour)
{
    const QImage image = filled(1, 1, true, {Qt::red, Qt::blue});
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));
}

TEST(GradientFill, NeedsTwoColours)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    EXPECT_THROW(GradientFill(painter, image.rect(), true, {Qt::red}), std::invalid_argument);
    painter.end();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
}
