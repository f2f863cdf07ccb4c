#include "shared/widgets/FormBuilders.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPushButton>
#include <QVBoxLayout>

#include "WidgetTest.h"

#include <gtest/gtest.h>

using namespace zentavo::forms;

namespace {

// How much ink an image shows: the sum of alpha-weighted darkness.
double ink(const QImage &image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            sum += pixel.alphaF() * (1.0 - pixel.valueF() * 0.5);
        }
    return sum;
}

class FormBuildersTest : public WidgetTest {};

} // namespace

TEST_F(FormBuildersTest, DisabledCommandIconsAreClearlyFainter)
{
    for (const QStyle::StandardPixmap which : {QStyle::SP_MediaPlay, QStyle::SP_FileDialogDetailedView}) {
        const QIcon icon = commandIcon(QApplication::style(), which);
        const double normal = ink(icon.pixmap(24, QIcon::Normal).toImage());
        const double disabled = ink(icon.pixmap(24, QIcon::Disabled).toImage());
        EXPECT_LT(disabled, normal * 0.6) << which;
    }
}

TEST_F(FormBuildersTest, SingleBorderOffersNoMaximiseAndKeepsItsSize)
{
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(pushButton(&dialog, "ButtonOk", QStringLiteral("OK")));
    singleBorder(&dialog);
    dialog.show();
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
}
