#include "ZAReadAhead.h"

#include <algorithm>
#include <cstring>

TZAReadAhead::TZAReadAhead(QIODevice &below) : m_below(below)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 TZAReadAhead::readData(char *data, qint64 maxSize)
{
    const qint64 at = pos();
    const qint64 wanted = std::min(maxSize, WindowSize);
    if (at < m_start || at + wanted > m_start + m_window.size()) {
        if (!m_below.seek(at))
            return -1;
        m_window.resize(qsizetype(WindowSize));
        const qint64 got = m_below.read(m_window.data(), WindowSize);
        m_window.resize(qsizetype(std::max<qint64>(got, 0)));
        m_start = at;
        if (got < 0)
            return -1;
    }
    const qint64 count = std::min(maxSize, m_start + m_window.size() - at);
    // Nothing to hand over (at the end, or nothing asked for): data may
    // then be null, which memcpy must not get even for no bytes.
    if (count <= 0)
        return 0;
    std::memcpy(data, m_window.constData() + (at - m_start), size_t(count));
    return count;
}
