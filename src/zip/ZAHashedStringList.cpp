#include "ZAHashedStringList.h"

#include "platform/FileNames.h"

Qt::CaseSensitivity TZAHashedStringList::nameCase()
{
    return platform::fileNameCase();
}

QString TZAHashedStringList::keyOf(const QString &name)
{
    return platform::fileNameKey(name);
}

void TZAHashedStringList::Add(const QString &name)
{
    m_lines.append(keyOf(name));
    if (m_inStep)
        index(m_lines.size() - 1);
}

void TZAHashedStringList::PutString(qsizetype position, const QString &name)
{
    const QString key = keyOf(name);
    if (m_lines.at(position) == key)
        return;
    if (m_inStep) {
        const int32_t old = m_slots.empty() ? -1 : m_slots[slotOf(m_lines.at(position))];
        // The old key may be held at a later position too: found again
        // only by a new index.
        m_inStep = old != position;
    }
    m_lines[position] = key;
    if (m_inStep)
        index(position);
}

void TZAHashedStringList::Delete(qsizetype position)
{
    m_lines.removeAt(position);
    m_inStep = false;
}

void TZAHashedStringList::Clear()
{
    m_lines.clear();
    m_slots.clear();
    m_used = 0;
    m_inStep = true;
}

qsizetype TZAHashedStringList::IndexOf(const QString &name) const
{
    bringInStep();
    if (m_slots.empty())
        return -1;
    return m_slots[slotOf(keyOf(name))];
}

std::size_t TZAHashedStringList::slotOf(const QString &key) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = qHash(key) & mask;; slot = (slot + 1) & mask) {
        const int32_t position = m_slots[slot];
        if (position < 0 || m_lines.at(position) == key)
            return slot;
    }
}

void TZAHashedStringList::index(qsizetype position) const
{
    // At most half full, so that probes stay short; a new table takes every
    // line, which all have their place whenever the index is in step.
    if (2 * (m_used + 1) > qsizetype(m_slots.size())) {
        std::size_t size = 1024;
        while (size < std::size_t(4 * m_lines.size()))
            size *= 2;
        m_slots.assign(size, -1);
        m_used = 0;
        for (qsizetype i = 0; i < m_lines.size(); ++i)
            place(i);
        return;
    }
    place(position);
}

void TZAHashedStringList::place(qsizetype position) const
{
    int32_t &slot = m_slots[slotOf(m_lines.at(position))];
    if (slot < 0) {
        slot = int32_t(position);
        ++m_used;
    } else if (slot > position) {
        slot = int32_t(position);
    }
}

void TZAHashedStringList::bringInStep() const
{
    if (m_inStep)
        return;
    m_slots.clear();
    m_used = 0;
    if (!m_lines.isEmpty())
        index(0);
    m_inStep = true;
}
