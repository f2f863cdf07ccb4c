#pragma once

#include <QString>

namespace zentavo {

// A duration as hours:minutes:seconds ("00:00:26", "27:03:09"): the elapsed
// run time and the start dialog's countdown. It is no time of day, so it
// carries no zone and no AM/PM whatever the locale; a negative duration
// shows as zero.
QString DurationText(qint64 seconds);

} // namespace zentavo
