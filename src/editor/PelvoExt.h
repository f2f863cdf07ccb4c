#pragma once

#include "shared/StringListMy.h"

#include <QString>
#include <QStringList>

#include <vector>

// The editor's job model: each job in the shape of the job file and of the
// editor's pages.
namespace pelvo {

using TStringListMy = NameValueList<EmptyName::Empty>;

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
