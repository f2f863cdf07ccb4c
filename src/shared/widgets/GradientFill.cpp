#include "GradientFill.h"

#include <QPainter>
#include <QPen>
#include <QRect>

#include <cmath>
#include <stdexcept>

namespace zentavo {

void GradientFill(QPainter &canvas, const QRect &rect, bool horizontal, const QList<QColor> &colours)
{
    if (colours.size() < 2)
        throw std::invalid_argument("Please specify at least two colors.");
    const int length = horizontal ? rect.width() : rect.height();
    const int bands = static_cast<int>(colours.size()) - 1;
    // Halves round to the even neighbour, here and for the colour channels.
    const int bandSize = static_cast<int>(std::nearbyint(static_cast<double>(length) / bands));

    const QPen keptPen = canvas.pen();
    QPen pen(Qt::SolidLine);
    pen.setWidth(1);
    for (int q = 0; q < bands; ++q) {
        const QColor from = colours.at(q).toRgb();
        const QColor to = colours.at(q + 1).toRgb();
        const int lines = q == bands - 1 ? length - q * bandSize - 1 : bandSize;
        for (int p = 0; p <= lines; ++p) {
            // A band of zero lines draws its one line in the start colour.
            const double t = lines > 0 ? static_cast<double>(p) / lines : 0.0;
            const auto mix
                = [t](int start, int end) { return static_cast<int>(std::nearbyint(start + (end - start) * t)); };
            pen.setColor(QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue())));
            canvas.setPen(pen);
            const int position = q * bandSize + p;
            if (horizontal)
                canvas.drawLine(rect.left() + position, rect.top(), rect.left() + position, rect.bottom());
            else
                canvas.drawLine(rect.left(), rect.top() + position, rect.right(), rect.top() + position);
        }
    }
    canvas.setPen(keptPen);
}

} // namespace zentavo
