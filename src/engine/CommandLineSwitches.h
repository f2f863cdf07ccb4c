#pragma once

#include "engine/ZentavoSettings.h"

#include <QString>
#include <QStringList>

// What the main program's command line asks for.
struct StartRequest {
    QString JobFileName;
    bool AutoRun = false;
    // The first argument asks for the command-line help ("/?" or "?").
    bool HelpAsked = false;
    // The first argument that is no switch, as it was tested; empty when
    // every argument was understood.
    QString UnknownArgument;
    bool ok() const { return UnknownArgument.isNull(); }
};

// Applies the switches argument by argument to the settings in memory (they
// are not saved). A switch is recognised in its upper-cased form without one
// leading "/"; a job file keeps the argument's own letters, so mixed-case
// paths of case-sensitive file systems work, and a bare name is taken from
// the current folder. Empty arguments are skipped. The scan stops at the
// first unknown argument. jobFileName is the job file before the switches.
StartRequest ApplySwitches(const QStringList &arguments, ZentavoSettings &settings, const QString &jobFileName);

// The usage message shown for an unknown argument.
QString UsageText(const QString &unknownArgument);

// The switches, one line each, in English: what "/?" prints where no help
// window can be seen (over ssh, from cron), so that they can be found there.
QString CommandLineHelp();

// True when the scheduler asked for the main window minimised ("Run
// minimized"), which it does through the environment so that the command
// line stays "/run". The request is taken out of the environment, so the
// programs this one starts do not inherit it.
bool TakeRunMinimizedRequest();
