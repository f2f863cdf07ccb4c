#include "DosDateTime.h"

namespace dosdatetime {

uint32_t LocalTimeRule::ToDos(const QDateTime &when) const
{
    // A local time already holds its wall-clock parts; asking it for its
    // offset would consult the system again.
    const QDateTime local = when.timeSpec() == Qt::LocalTime ? when : when.toTimeZone(m_zone);
    QDate date = local.date();
    QTime time = local.time();
    if (!date.isValid() || date.year() < 1980) {
        date = QDate(1980, 1, 1);
        time = QTime(0, 0);
    } else if (date.year() > 2107) {
        date = QDate(2107, 12, 31);
        time = QTime(23, 59, 58);
    }
    const uint32_t dosDate = uint32_t(((date.year() - 1980) << 9) | (date.month() << 5) | date.day());
    const uint32_t dosTime = uint32_t((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2));
    return (dosDate << 16) | dosTime;
}

} // namespace dosdatetime
