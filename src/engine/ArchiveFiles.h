#pragma once

#include "shared/Common.h"
#include "zip/ZAVolumeNames.h"

#include <QDate>
#include <QString>

// The files of one job's archive as the run copies, moves and deletes
// them: the archive itself, or every volume of its split set, the first
// volume of a self-extracting set (its ".exe") included. The names come
// from the archiver's own naming of volumes, so a copy holds what a
// restore needs.
class ArchiveFiles {
public:
    ArchiveFiles() = default;
    ArchiveFiles(QString name, const zavolumes::Naming &naming);

    // The archive as the report names it: its file, or with volumes a mask
    // that matches all of them.
    QString Shown() const;
    // The files on the disk, in the set's order.
    QList<zavolumes::VolumeFile> OnDisk() const;
    // The day of the newest of them; null when there is none.
    QDate NewestDay() const;

    // Every file into the folder; false when one failed or there was none.
    bool CopyTo(const QString &folder, const zentavo::FileCommandScope &scope) const;
    // Every file as the same volume of the archive named to.
    bool TransferTo(const QString &to, bool move, const zentavo::FileCommandScope &scope) const;
    // Nothing to delete is a success.
    bool Delete(const zentavo::FileCommandScope &scope) const;

    const QString &Name() const { return m_name; }

private:
    QString m_name;
    zavolumes::Naming m_naming;
};
