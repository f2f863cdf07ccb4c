#pragma once

#include <QColor>
#include <QList>

class QPainter;
class QRect;

namespace zentavo {

// Fills rect with lines whose colours run through the given colours in equal
// bands. Throws std::invalid_argument with fewer than two colours.
void GradientFill(QPainter &canvas, const QRect &rect, bool horizontal, const QList<QColor> &colours);

} // namespace zentavo
