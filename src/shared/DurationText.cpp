#include "DurationText.h"

#include <algorithm>

namespace zentavo {

QString DurationText(qint64 seconds)
{
    seconds = std::max<qint64>(0, seconds);
    const auto twoDigits = [](qint64 value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    return twoDigits(seconds / 3600) + u':' + twoDigits(seconds / 60 % 60) + u':' + twoDigits(seconds % 60);
}

} // namespace zentavo
