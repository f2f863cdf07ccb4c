#include "QueuedRunView.h"

#include <QMetaObject>
#include <QObject>

namespace zentavo {

QueuedRunView::QueuedRunView(QObject &window, RunView &view) : m_window(window), m_view(view)
{
}

template <typename Call>
void QueuedRunView::post(Call call)
{
    QMetaObject::invokeMethod(&m_window, std::move(call), Qt::QueuedConnection);
}

void QueuedRunView::addReportLine(const QString &line)
{
    post([this, line] { m_view.addReportLine(line); });
}

void QueuedRunView::runStarting()
{
    post([this] { m_view.runStarting(); });
}

void QueuedRunView::showJob(const QString &title, int number, int count)
{
    post([this, title, number, count] { m_view.showJob(title, number, count); });
}

void QueuedRunView::showArchiveProgress(int percent, const QString &title)
{
    post([this, percent, title] { m_view.showArchiveProgress(percent, title); });
}

void QueuedRunView::setFileGauge(int percent)
{
    post([this, percent] { m_view.setFileGauge(percent); });
}

void QueuedRunView::runEnded()
{
    post([this] { m_view.runEnded(); });
}

void QueuedRunView::showText(const QString &text)
{
    post([this, text] { m_view.showText(text); });
}

void QueuedRunView::setGaugeMaximum(qint64 bytes)
{
    post([this, bytes] { m_view.setGaugeMaximum(bytes); });
}

void QueuedRunView::setGaugePosition(qint64 bytes)
{
    post([this, bytes] { m_view.setGaugePosition(bytes); });
}

} // namespace zentavo
