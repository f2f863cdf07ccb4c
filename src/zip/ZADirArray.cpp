#include "ZADirArray.h"

#include "zip/ZAExcept.h"

void TZADirArray::Clear()
{
    m_items.clear();
    m_names.Clear();
}

TDirItem &TZADirArray::ItemPtr(qsizetype index)
{
    if (index < 0 || index >= Count())
        throw EZAException(zaconst::neItemPtrIndex);
    return m_items[index];
}

const TDirItem &TZADirArray::GetItem(qsizetype index) const
{
    if (index < 0 || index >= Count())
        throw EZAException(zaconst::neGetItemIndex);
    return m_items.at(index);
}

void TZADirArray::SetItem(qsizetype index, const TDirItem &item)
{
    if (index < 0 || index >= Count())
        throw EZAException(zaconst::neSetItemIndex);
    m_items[index] = item;
    m_names.PutString(index, item.FileName);
}

qsizetype TZADirArray::Append(const TDirItem &item)
{
    m_items.append(item);
    m_names.Add(item.FileName);
    return m_items.size() - 1;
}

void TZADirArray::Delete(qsizetype index)
{
    if (index < 0 || index >= Count())
        throw EZAException(zaconst::neDeleteItemIndex);
    m_items.removeAt(index);
    m_names.Delete(index);
}
