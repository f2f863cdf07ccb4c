#pragma once

#include <QByteArray>

#include <cstdint>

// ZIP records are little-endian whatever the machine; every field goes
// through these helpers, never through a cast of a struct.
namespace zabytes {

// A directory of many entries is made of millions of fields: each is
// written in place at the end, in room the record reserved beforehand.
template <typename T>
void put(QByteArray &out, T value)
{
    const qsizetype at = out.size();
    out.resize(at + qsizetype(sizeof(T)));
    char *bytes = out.data() + at;
    for (unsigned i = 0; i < sizeof(T); ++i)
        bytes[i] = char(uint8_t(uint64_t(value) >> (8 * i)));
}

template <typename T>
T get(const char *data)
{
    uint64_t value = 0;
    for (unsigned i = 0; i < sizeof(T); ++i)
        value |= uint64_t(uint8_t(data[i])) << (8 * i);
    return T(value);
}

// Reads fields one after another from a buffer of known length.
class Reader {
public:
    Reader(const char *data, qsizetype size) : m_data(data), m_size(size) {}
    explicit Reader(const QByteArray &bytes) : Reader(bytes.constData(), bytes.size()) {}

    template <typename T>
    T take()
    {
        if (!has(sizeof(T))) {
            m_failed = true;
            m_pos = m_size;
            return T(0);
        }
        const T value = get<T>(m_data + m_pos);
        m_pos += qsizetype(sizeof(T));
        return value;
    }

    bool has(qsizetype count) const { return m_size - m_pos >= count; }
    qsizetype position() const { return m_pos; }
    // True once a field was asked for beyond the end of the data.
    bool failed() const { return m_failed; }

private:
    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

} // namespace zabytes
