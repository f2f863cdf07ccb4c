#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// A list of entry names with a hashed index for look-ups. Deleting shifts
// positions, so the index is rebuilt on the next look-up instead of being
// patched for every deletion. Names compare as the file system compares
// them: case-insensitively on Windows, exactly elsewhere, so that two files
// that differ only in case never share one entry.
class TZAHashedStringList {
public:
    static Qt::CaseSensitivity nameCase();

    qsizetype Count() const { return m_lines.size(); }
    void Add(const QString &name);
    void PutString(qsizetype index, const QString &name);
    void Delete(qsizetype index);
    void Clear();
    // The first position holding the name, -1 when absent.
    qsizetype IndexOf(const QString &name) const;

private:
    static QString keyOf(const QString &name);
    void bringInStep() const;
    // The slot that holds the key, or the empty slot where it would go.
    std::size_t slotOf(const QString &key) const;
    // Records the position for its key unless a lower one holds it; grows
    // the table first when it would be more than half full.
    void index(qsizetype position) const;
    void place(qsizetype position) const;

    QStringList m_lines;
    // Open addressing over the lines' positions (-1: empty): the keys are
    // the lines themselves, so an entry costs a few bytes, not a copy.
    mutable std::vector<int32_t> m_slots;
    mutable qsizetype m_used = 0;
    mutable bool m_inStep = true;
};
