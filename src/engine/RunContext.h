#pragma once

#include "platform/Clock.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// What a run takes with it when it starts, so that nothing the window does
// meanwhile (a reload of the settings or of another job file) reaches it,
// and the worker reads none of the window's state.
struct RunContext {
    // The job file the run's jobs came from: names without a folder in its
    // commands lie in its folder.
    QString JobFileName;
    // The run's start: every date test and macro of the run uses it.
    QDateTime StartTime = platform::now();
    // Lines the report opens with (a damaged settings file, for one).
    QStringList Notices;
};
