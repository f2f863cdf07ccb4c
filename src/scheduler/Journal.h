#pragma once

#include "platform/Clock.h"
#include "report/ReportFile.h"
#include "settings/VorrinControls.h"

#include <QDateTime>
#include <QString>

// The scheduler's journal "Vorrin.rep": one line for every start of the main
// program and for its end, in the journal folder of the saved settings.
namespace zentavo {

// The journal's path (JournalFileName) in the saved journal folder.
QString JournalPath(const TVorrinCopies &copies);

// A journal line: the text, a tab, the date and time.
QString JournalLine(const QString &text, const QDateTime &when = platform::now());

// Writes one line when the journal is on. The first line of a run (newRun)
// empties the journal first unless it is appended to; a file that cannot be
// appended to is written anew. With a size limit the oldest whole lines are
// then cut from the top. Failures are silent: the run goes on without its
// line.
void WriteJournal(const TVorrinCopies &copies, const QString &line, bool newRun);

} // namespace zentavo
