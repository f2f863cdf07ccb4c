#include "ReportLineHint.h"

#include "report/ReportLineClass.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

ReportLineHint::ReportLineHint(QAbstractItemView *list) : QObject(list), m_list(list)
{
}

void ReportLineHint::install(QAbstractItemView *list)
{
    list->viewport()->installEventFilter(new ReportLineHint(list));
}

bool ReportLineHint::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip || watched != m_list->viewport())
        return false;
    const QPoint position = static_cast<QHelpEvent *>(event)->pos();
    const QModelIndex index = m_list->indexAt(position);
    if (!index.isValid())
        return false;
    const QString line = index.data(Qt::DisplayRole).toString();
    const QRect row = m_list->visualRect(index);
    if (!report::NeedsLineHint(m_list->fontMetrics().horizontalAdvance(line), row.right()))
        return false;

    QWidget *viewport = m_list->viewport();
    const QRect area(0, row.top(), viewport->width(), row.height());
    QToolTip::showText(viewport->mapToGlobal(QPoint(1, row.top() - 1)), line, viewport, area, ShowMilliseconds);
    return true;
}
