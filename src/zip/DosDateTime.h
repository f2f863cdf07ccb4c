#pragma once

#include <QDateTime>
#include <QTimeZone>

#include <cstdint>

// MS-DOS date and time of ZIP headers: date in the high 16 bits, time in
// the low 16, local time, two-second steps. Values are unsigned, so dates
// from 2044 on compare correctly; times outside 1980-2107 are clamped.
namespace dosdatetime {

// The local time zone's rules, read once: converting many file times
// through them asks the system nothing per file (a conversion to local
// time through the C library checks the zone file every time).
class LocalTimeRule {
public:
    LocalTimeRule() : m_zone(QTimeZone::systemTimeZone()) {}

    uint32_t ToDos(const QDateTime &when) const;

private:
    QTimeZone m_zone;
};

inline uint16_t datePart(uint32_t dos)
{
    return uint16_t(dos >> 16);
}
inline uint16_t timePart(uint32_t dos)
{
    return uint16_t(dos & 0xFFFF);
}
inline uint32_t join(uint16_t date, uint16_t time)
{
    return (uint32_t(date) << 16) | time;
}

} // namespace dosdatetime
