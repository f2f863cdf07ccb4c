#pragma once

#include "scheduler/ScheduleCheck.h"
#include "settings/VorrinControls.h"

#include <QDateTime>
#include <QObject>
#include <QString>

namespace zentavo {

// The scheduler's state between timer ticks and what it starts: the main
// program for a scheduled, start-up or requested run, the main program
// alone, and the editor. It holds the scheduler's settings and acts on
// their saved copies only, and reads the clock and program starter of the
// platform layer, so tests drive it through days and times without waiting
// and without starting anything.
class TScheduler {
public:
    // Reads "LastRun" from the schedule key when the key exists.
    explicit TScheduler(VorrinSettings settings);

    // The settings as last loaded or saved; replaced whole on every reload.
    const VorrinSettings &Settings() const { return m_settings; }
    void SetSettings(VorrinSettings settings) { m_settings = std::move(settings); }

    // The timer tick: starts a run when one is due now; a start that a run
    // under way holds back is journalled with the start of that run.
    void TimerTimer();

    // Starts the main program with "/run", minimised when the settings ask
    // for it, journals the start and remembers the day as "LastRun" (a day
    // that cannot be stored is journalled). True when it started; a failed
    // start is journalled and clears RunActive.
    bool StartRun();
    // Starts the main program without a switch as a run of the scheduler,
    // whose end is journalled too; "LastRun" stays.
    bool StartZentavo();
    // Starts the editor; with wait, returns when it ended.
    bool StartEditor(bool wait);

    // The main program reported that its window closed: the end of a run
    // of ours is journalled; without one nothing happens.
    void RunZentavoEnded();
    // When the process of a run ends and its end is not reported within
    // this time (a crash, a kill), the abnormal end is journalled and
    // scheduling goes on.
    int EndMessageGraceMs = 3000;

    // The run the scheduler makes at its own start in "On startup" mode,
    // at most once a day when "Once per day" is stored.
    void StartupRun();

    bool RunActive() const { return m_state.RunActive; }
    QString LastRun() const { return m_lastRun; }

private:
    bool startZentavo(const QStringList &arguments, bool minimised);
    void ZentavoProcessEnded(quint64 run);

    VorrinSettings m_settings;
    ScheduleState m_state;
    QString m_lastRun;
    quint64 m_runNumber = 0;  // of the latest start of the main program
    QDateTime m_runStartedAt; // of the latest start of the main program
    QObject m_alive;          // ends the callbacks and watches of started programs with the scheduler
};

} // namespace zentavo
