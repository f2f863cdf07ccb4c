#include "StyledLinePrinter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QTextOption>

bool PrintStyledLines(QPrinter &printer, const std::vector<StyledLine> &lines)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    QFont font = painter.font();

    QTextOption wrapping(Qt::AlignLeft | Qt::AlignTop);
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QRect page = painter.viewport();
    qreal top = 0;
    for (const StyledLine &line : lines) {
        font.setPointSize(line.pointSize);
        font.setBold(line.bold);
        font.setItalic(line.italic);
        painter.setFont(font);
        const QFontMetrics metrics = painter.fontMetrics();
        const int indent = metrics.horizontalAdvance(QString(8, u' '));
        const QRectF room(indent, 0, page.width() - indent, page.height());
        const QString text = line.text.isEmpty() ? QStringLiteral(" ") : line.text;
        const qreal height = painter.boundingRect(room, text, wrapping).height();
        if (top > 0 && top + height > page.height()) {
            if (!printer.newPage())
                return false;
            top = 0;
        }
        painter.drawText(QRectF(indent, top, room.width(), page.height() - top), text, wrapping);
        top += height;
    }
    return painter.end();
}
