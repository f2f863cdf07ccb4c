#pragma once

#include "RunView.h"

#include <QStringList>

#include <functional>

// A window that keeps what the run shows.
class RecordingRunView : public RunView {
public:
    void addReportLine(const QString &line) override
    {
        lines << line;
        if (onLine)
            onLine(line);
    }
    void runStarting() override { ++starts; }
    void showJob(const QString &, int, int) override {}
    void showArchiveProgress(int, const QString &) override {}
    void setFileGauge(int) override {}
    void runEnded() override { ++ends; }
    void showText(const QString &) override {}
    void setGaugeMaximum(qint64) override {}
    void setGaugePosition(qint64) override {}

    // The report lines with the time stamps of timed lines removed.
    QStringList untimedLines() const;

    QStringList lines;
    int starts = 0;
    int ends = 0;
    std::function<void(const QString &)> onLine;
};
