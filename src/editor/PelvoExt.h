#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The editor's job model: each job in the shape of the job file and of the
// editor's pages.
namespace pelvo {

// A name=value list of the editor ("/backup/=135"). The editor writes days
// and flags without "=", so a line's value is what follows its last "=":
// a name the user typed with "=" stays whole (the job file cannot carry it,
// and the save refuses it) instead of handing its rest to the days. A line
// that starts with "=" keeps an empty name.
class TStringListMy : public QStringList {
public:
    using QStringList::QStringList;
    TStringListMy() = default;
    explicit TStringListMy(const QStringList &lines) : QStringList(lines) {}

    QString NameAt(qsizetype index) const;
    QString ValueAt(qsizetype index) const;
};

// A name=value list whose names have the form kind>tail
// ("W>/backup/week/=1", "CMD2>notepad=06").
class TStringListMyExt : public TStringListMy {
public:
    using TStringListMy::TStringListMy;

    // The kind before the first ">" of the name; empty when it has none.
    QString KeyAt(qsizetype index) const;
    // The name after its first ">"; the whole name when it has none.
    QString TailAt(qsizetype index) const;
};

enum StrIndex { ArchiveName = 1, Comment = 2 };

// One job of the editor. Its name is not part of it: the job selector holds
// the names, at the same index as the blocks.
class TBlock {
public:
    QString GetStr(int index) const;
    void SetStr(int index, const QString &value);

    TStringListMyExt Cmds;      // CMD1>command=days (before archiving) or CMD2>command=days (after)
    TStringListMy Dests;        // folder=days, as read
    TStringListMyExt ExtCopies; // K>folder=flag, K the kind letter of the period
    QStringList Sources;
    QStringList Exclusions; // parallel to Sources

private:
    QString m_archiveName;
    QString m_comment;
};

// A job on the editor's job clipboard: the block with its name.
class TBufferBlock : public TBlock {
public:
    QString GetBuffer() const { return m_jobName; }
    void SetBuffer(const QString &jobName) { m_jobName = jobName; }

private:
    QString m_jobName;
};

using TBlocks = std::vector<TBlock>;

// The name of a new job file that has not been saved yet.
inline const QString NoNameDat = QStringLiteral("NoName.dat");

} // namespace pelvo
