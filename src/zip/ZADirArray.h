#pragma once

#include "zip/DirItem.h"
#include "zip/ZAHashedStringList.h"

#include <QList>

// The items of a directory in archive order, with their names indexed.
class TZADirArray {
public:
    qsizetype Count() const { return m_items.size(); }
    void Clear();

    // Bounds-checked access; an index outside the list raises
    // neItemPtrIndex / neGetItemIndex.
    TDirItem &ItemPtr(qsizetype index);
    const TDirItem &GetItem(qsizetype index) const;
    // Replaces the item at index (neSetItemIndex outside the list).
    void SetItem(qsizetype index, const TDirItem &item);
    // Appends the item and answers its index.
    qsizetype Append(const TDirItem &item);
    // Removes the item (neDeleteItemIndex outside the list).
    void Delete(qsizetype index);

    // The position of the name, -1 when absent.
    qsizetype FindName(const QString &name) const { return m_names.IndexOf(name); }

    void CopyFrom(const TZADirArray &other) { *this = other; }

private:
    QList<TDirItem> m_items;
    TZAHashedStringList m_names;
};
