#pragma once

#include <QDateTime>

#include <cstdint>

// MS-DOS date and time of ZIP headers: date in the high 16 bits, time in
// the low 16, local time, two-second steps. Values are unsigned, so dates
// from 2044 on compare correctly; times outside 1980-2107 are clamped.
namespace dosdatetime {

uint32_t fromDateTime(const QDateTime &local);
inline uint16_t datePart(uint32_t dos) { return uint16_t(dos >> 16); }
inline uint16_t timePart(uint32_t dos) { return uint16_t(dos & 0xFFFF); }
inline uint32_t join(uint16_t date, uint16_t time) { return (uint32_t(date) << 16) | time; }

} // namespace dosdatetime
