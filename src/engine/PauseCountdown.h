#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// The countdown of the start dialog: it counts from the moment the run was
// asked for, not from the dialog's appearance.
namespace pausecountdown {

// The minutes to count down; nullopt without a countdown: the time limit is
// off, empty, "0", or no whole number (it can come unchecked from "/T:").
std::optional<int> Minutes(bool checkBoxTime, const QString &editTime);

// Milliseconds left until the run starts by itself; below 0 when it is due.
qint64 RemainingMs(const QDateTime &runTime, int minutes, const QDateTime &now);

// The remaining time for the label, as hours:minutes:seconds rounded up (negative time shows as 0).
QString RemainingText(qint64 remainingMs);

} // namespace pausecountdown
