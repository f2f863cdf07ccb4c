#include "ReportPrinter.h"

#include "ReportLineClass.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QTextOption>

#include <vector>

namespace {

struct PrintLine {
    QString text;
    bool bold = false;
};

std::vector<PrintLine> PrintLines(const QString &header, const QStringList &lines)
{
    std::vector<PrintLine> printed;
    // Each header line after the first begins with a tab: the indent every
    // printed line gets anyway.
    for (QString text : header.split(u'\n')) {
        if (text.startsWith(u'\t'))
            text.remove(0, 1);
        printed.push_back({text, true});
    }
    printed.push_back({});
    printed.push_back({});
    for (const QString &line : lines)
        printed.push_back({line, report::IsBoldPrintLine(line)});
    return printed;
}

} // namespace

bool PrintReport(QPrinter &printer, const QString &header, const QStringList &lines)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    QFont font = painter.font();
    font.setPointSize(10);

    QTextOption wrapping(Qt::AlignLeft | Qt::AlignTop);
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QRect page = painter.viewport();
    qreal top = 0;
    for (const PrintLine &line : PrintLines(header, lines)) {
        font.setBold(line.bold);
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
