#pragma once

#include "platform/FolderReadAhead.h"
#include "platform/FolderWalk.h"
#include "zip/DosDateTime.h"
#include "zip/ZAPathRules.h"
#include "zip/ZAUpdateSettings.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class TZASelectionContext;
struct TDirItem;

// The inside of AddFiles: finds the files and folders the masks select
// under the search base, leaves out the excluded ones and marks a new or
// replaced item for each in the archiver's working list. Nothing is written
// here; the commit writes the marked items.
//
// Folders are listed by the suite's one folder walk: raw names, no links
// to folders, regular files and folders only. What the walk could not read
// or passed over is offered to the failure event, so that it is told.
class TZAFileSelector {
public:
    TZAFileSelector(TZASelectionContext &context, TZAUpdateSettings settings, const QStringList &exclusions);

    // Takes no lock: everything it touches belongs to its own archiver,
    // which runs on one thread at a time, so that archivers on different
    // threads search side by side.
    void AddFiles(const QStringList &masks, int searchAttr, bool recurse);

private:
    void searchFiles(const QString &root, const QString &mask, bool recurse);
    bool considerEntry(const platform::FolderEntry &entry);
    void reportLeftOut(const platform::LeftOut &leftOut);
    bool wantsLeftOut(const platform::LeftOut &leftOut, const QString &nameMask, bool intoFolders) const;
    void addFoundFile(const QString &full, const platform::FolderEntry &entry);
    qsizetype addOrUpdateItem(const QString &path, const platform::FolderEntry &entry);
    bool keepsExistingEntry(const TDirItem &existing, const QString &path, const QString &name,
                            const platform::FolderEntry &entry);
    void buildDirItem(TDirItem &item, const QString &path, const platform::FolderEntry &entry, uint32_t attributes);
    bool isExcluded(const QString &full) const;

    TZASelectionContext &m_context;
    const TZAUpdateSettings m_settings;
    const QStringList m_exclusions;
    // The masks and the naming, resolved against the search base of the
    // search under way.
    std::vector<zapaths::FileMask> m_excluded;
    std::vector<zapaths::FileMask> m_stored;
    std::optional<zapaths::StoredNames> m_names;
    int m_searchAttr = 0;
    const dosdatetime::LocalTimeRule m_localTime;
    // The two-second step in which the search began: the commit reads every
    // file it takes after that.
    uint32_t m_searchStarted = 0;
    // When the archive was last written, before this update (invalid for a
    // new archive).
    QDateTime m_archiveWritten;
    // Lists the folders the search is about to enter while it is busy.
    std::unique_ptr<platform::FolderReadAhead> m_readAhead;
};
