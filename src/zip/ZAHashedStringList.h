#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// A list of entry names with a hashed index for look-ups. Deleting shifts
// positions, so the index is rebuilt on the next look-up instead of being
// patched for every deletion. Names compare as the file system compares
// them: case-insensitively on Windows, exactly elsewhere, so that two files
// that differ only in case never share one entry.
class TZAHashedStringList
{
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

    QStringList m_lines;
    mutable QHash<QString, qsizetype> m_index;
    mutable bool m_inStep = true;
};
