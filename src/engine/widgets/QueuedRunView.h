#pragma once

#include "engine/RunView.h"

class QObject;

namespace zentavo {

// The view the run's worker writes to: it carries each call to the GUI
// thread, in the order the calls were made, and makes it there on the
// window's own view. Calls still pending when the window goes are dropped
// with it.
class QueuedRunView final : public RunView {
public:
    // window is the view's QObject: its thread runs the calls, its lifetime
    // bounds them.
    QueuedRunView(QObject &window, RunView &view);

    void addReportLine(const QString &line) override;
    void runStarting() override;
    void showJob(const QString &title, int number, int count) override;
    void showArchiveProgress(int percent, const QString &title) override;
    void setFileGauge(int percent) override;
    void runEnded() override;
    void showText(const QString &text) override;
    void setGaugeMaximum(qint64 bytes) override;
    void setGaugePosition(qint64 bytes) override;

private:
    template <typename Call>
    void post(Call call);

    QObject &m_window;
    RunView &m_view;
};

} // namespace zentavo
