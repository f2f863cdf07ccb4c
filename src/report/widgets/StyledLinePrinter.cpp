#include "StyledLinePrinter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <QTextOption>

namespace {

QFont fontOf(QFont font, const StyledRun &run)
{
    font.setPointSize(run.pointSize);
    font.setBold(run.bold);
    font.setItalic(run.italic);
    return font;
}

// Lays the line out in the width given, wrapped; its height.
qreal layOut(QTextLayout &layout, qreal width)
{
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

} // namespace

bool PrintStyledLines(QPrinter &printer, const std::vector<StyledLine> &lines)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QFont deviceFont = painter.font();
    const QRect page = painter.viewport();
    qreal top = 0;
    for (const StyledLine &line : lines) {
        // An empty line keeps the height of the type it was given.
        const StyledRun first = line.runs.empty() ? StyledRun{} : line.runs.front();
        const QFont lineFont = fontOf(deviceFont, first);
        QString text;
        QList<QTextLayout::FormatRange> formats;
        for (const StyledRun &run : line.runs) {
            QTextLayout::FormatRange range;
            range.start = int(text.size());
            range.length = int(run.text.size());
            range.format.setFont(fontOf(deviceFont, run));
            formats << range;
            text += run.text;
        }
        if (text.isEmpty())
            text = QStringLiteral(" ");

        const qreal indent = QFontMetricsF(lineFont, &printer).horizontalAdvance(QString(8, u' '));
        QTextOption option(Qt::AlignLeft | Qt::AlignTop);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        option.setTabStopDistance(indent);
        QTextLayout layout(text, lineFont, &printer);
        layout.setTextOption(option);
        layout.setFormats(formats);
        const qreal height = layOut(layout, page.width() - indent);
        if (top > 0 && top + height > page.height()) {
            if (!printer.newPage())
                return false;
            top = 0;
        }
        layout.draw(&painter, QPointF(indent, top));
        top += height;
    }
    return painter.end();
}
