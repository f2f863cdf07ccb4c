#include "ZAHashedStringList.h"

#include "FileNames.h"

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
    const QString key = keyOf(name);
    m_lines.append(key);
    if (m_inStep && !m_index.contains(key))
        m_index.insert(key, m_lines.size() - 1);
}

void TZAHashedStringList::PutString(qsizetype index, const QString &name)
{
    const QString key = keyOf(name);
    if (m_lines.at(index) == key)
        return;
    m_inStep = m_inStep && m_index.value(m_lines.at(index), -1) != index;
    m_lines[index] = key;
    if (m_inStep && m_index.value(key, index) >= index)
        m_index.insert(key, index);
}

void TZAHashedStringList::Delete(qsizetype index)
{
    m_lines.removeAt(index);
    m_inStep = false;
}

void TZAHashedStringList::Clear()
{
    m_lines.clear();
    m_index.clear();
    m_inStep = true;
}

qsizetype TZAHashedStringList::IndexOf(const QString &name) const
{
    bringInStep();
    return m_index.value(keyOf(name), -1);
}

void TZAHashedStringList::bringInStep() const
{
    if (m_inStep)
        return;
    m_index.clear();
    m_index.reserve(m_lines.size());
    for (qsizetype i = m_lines.size() - 1; i >= 0; --i)
        m_index.insert(m_lines.at(i), i);
    m_inStep = true;
}
