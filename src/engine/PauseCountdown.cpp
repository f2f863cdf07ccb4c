#include "PauseCountdown.h"

#include "shared/DurationText.h"

namespace pausecountdown {

std::optional<int> Minutes(bool checkBoxTime, const QString &editTime)
{
    if (!checkBoxTime)
        return std::nullopt;
    bool isNumber = false;
    const int minutes = editTime.trimmed().toInt(&isNumber);
    if (!isNumber || minutes == 0)
        return std::nullopt;
    return minutes;
}

qint64 RemainingMs(const QDateTime &runTime, int minutes, const QDateTime &now)
{
    return now.msecsTo(runTime.addSecs(qint64(minutes) * 60));
}

QString RemainingText(qint64 remainingMs)
{
    return zentavo::DurationText((remainingMs + 999) / 1000);
}

} // namespace pausecountdown
