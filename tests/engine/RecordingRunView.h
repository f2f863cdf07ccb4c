#pragma once

#include "engine/RunView.h"

#include <QElapsedTimer>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

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
    void showArchiveProgress(int percent, const QString &) override { archivePercents.push_back(percent); }
    void setFileGauge(int percent) override { filePercents.push_back(percent); }
    void runEnded() override { ++ends; }
    void showText(const QString &text) override { texts.push_back({clock.elapsed(), text}); }
    void setGaugeMaximum(qint64) override {}
    void setGaugePosition(qint64) override {}

    // The report lines with the time stamps of timed lines removed.
    QStringList untimedLines() const;

    QStringList lines;
    int starts = 0;
    int ends = 0;
    std::function<void(const QString &)> onLine;
    // What the progress showed, with the labels' times in milliseconds.
    std::vector<int> archivePercents;
    std::vector<int> filePercents;
    std::vector<std::pair<qint64, QString>> texts;
    QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
};
