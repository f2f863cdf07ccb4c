#include "ZAFileSelector.h"

#include "platform/Clock.h"
#include "platform/FileNames.h"
#include "platform/Wildcard.h"
#include "zip/DosDateTime.h"
#include "zip/ZAConst.h"
#include "zip/ZADirManager.h"
#include "zip/ZAExcept.h"
#include "zip/ZANameCodec.h"
#include "zip/ZAPathRules.h"
#include "zip/ZARecords.h"
#include "zip/ZASelectionContext.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <vector>

using namespace zarecords;

namespace {

uint32_t attributesOf(const platform::FolderEntry &entry)
{
    if (entry.folder)
        return AttrFolder;
    // The owner's write bit, not whether this process may write, which is
    // always true for root.
    return AttrArchive | (entry.ownerWritable ? 0 : AttrReadOnly);
}

// Puts the search base back however the search ends.
class SearchBaseScope {
public:
    SearchBaseScope(QString &searchBase, const QString &baseDir) : m_searchBase(searchBase), m_previous(searchBase)
    {
        m_searchBase = zapaths::ResolvePath(baseDir, {}, m_previous);
    }
    ~SearchBaseScope() { m_searchBase = m_previous; }

private:
    QString &m_searchBase;
    QString m_previous;
};

} // namespace

TZAFileSelector::TZAFileSelector(TZASelectionContext &context, TZAUpdateSettings settings,
                                 const QStringList &exclusions)
    : m_context(context)
    , m_settings(std::move(settings))
    , m_exclusions(exclusions)
{
    if (!m_settings.InMemory)
        m_archiveWritten = QFileInfo(m_settings.FileName).lastModified();
}

void TZAFileSelector::AddFiles(const QStringList &masks, int searchAttr, bool recurse)
{
    SearchBaseScope scope(m_context.SearchBase(), m_settings.BaseDir);
    m_searchAttr = searchAttr;
    const QString &searchBase = m_context.SearchBase();
    m_excluded.clear();
    for (const QString &mask : m_exclusions)
        m_excluded.emplace_back(mask, searchBase);
    m_stored.clear();
    for (const QString &mask : m_settings.NoCompressionMasks)
        m_stored.emplace_back(mask, searchBase);
    m_names.emplace(searchBase, m_settings.Options.StorePath, searchBase);
    m_searchStarted = m_localTime.ToDos(platform::now());
    // One thread means one: the search then lists every folder itself.
    const int threads = m_settings.Options.Threads > 0 ? m_settings.Options.Threads : QThread::idealThreadCount();
    m_readAhead = std::make_unique<platform::FolderReadAhead>(threads > 1 ? threads : 0, threads);
    for (const QString &mask : masks)
        searchFiles(m_context.SearchBase(), mask, recurse);
    m_readAhead.reset();
}

namespace {

// The folder a search lists for a resolved mask; none for a mask that
// names a single entry.
QString listedFolder(const zapaths::MaskPath &pathMask, const QString &mask)
{
    if (pathMask.path.isEmpty() || (!pathMask.relative && !platform::hasWildcards(mask)))
        return {};
    return pathMask.path.left(pathMask.path.lastIndexOf(u'/') + 1);
}

} // namespace

void TZAFileSelector::searchFiles(const QString &root, const QString &mask, bool recurse)
{
    const QString &searchBase = m_context.SearchBase();
    const zapaths::MaskPath pathMask = zapaths::ResolveMaskPath(mask, root, searchBase);
    if (pathMask.path.isEmpty())
        return;
    const QString folder = listedFolder(pathMask, mask);
    if (folder.isEmpty()) {
        if (const std::optional<platform::FolderEntry> named = platform::entryAt(pathMask.path))
            considerEntry(*named);
        return;
    }
    const QString nameMask = pathMask.path.mid(folder.size());
    // A mask that cannot be read is an error, also where nothing is found.
    platform::checkMaskWithSets(nameMask);

    const platform::FolderListing listing = m_readAhead->take(folder);
    const bool wantFolders = (m_searchAttr & AttrFolder) != 0;
    if (!listing.readable)
        reportLeftOut(platform::unreadableFolder(folder));
    for (const platform::LeftOut &leftOut : listing.leftOut) {
        if (wantsLeftOut(leftOut, nameMask, wantFolders || recurse))
            reportLeftOut(leftOut);
    }
    const QList<platform::FolderEntry> &entries = listing.entries;
    const uint32_t fileAttr = uint32_t(m_searchAttr) & ~AttrFolder;
    for (const platform::FolderEntry &entry : entries) {
        if (!entry.folder && platform::matchesMaskWithSets(entry.name, nameMask)
            && (attributesOf(entry) & fileAttr) != 0)
            considerEntry(entry);
    }

    if (!wantFolders && !recurse)
        return;
    const QString subMask = !QDir::fromNativeSeparators(mask).contains(u'/') ? mask
        : platform::hasWildcards(mask)                                       ? nameMask
                                                                             : QString();
    struct Descent {
        const platform::FolderEntry *entry;
        QString mask;
        bool selected; // taken as an entry itself, with its whole content
        QString listed;
    };
    std::vector<Descent> descents;
    for (const platform::FolderEntry &entry : entries) {
        if (!entry.folder || isExcluded(entry.path + u'/'))
            continue;
        if (wantFolders && platform::matchesMaskWithSets(entry.name, nameMask))
            descents.push_back({&entry, QStringLiteral("*.*"), true, {}});
        else if (recurse && !subMask.isEmpty())
            descents.push_back({&entry, subMask, false, {}});
        else
            continue;
        Descent &descent = descents.back();
        descent.listed = listedFolder(zapaths::ResolveMaskPath(descent.mask, entry.path, searchBase), descent.mask);
    }
    // The folders after the one searched are listed meanwhile.
    std::size_t ahead = 0;
    for (std::size_t i = 0; i < descents.size(); ++i) {
        ahead = std::max(ahead, i + 1);
        while (ahead < descents.size()
               && (descents[ahead].listed.isEmpty() || m_readAhead->prefetch(descents[ahead].listed)))
            ++ahead;
        const Descent &descent = descents[i];
        if (!descent.selected || considerEntry(*descent.entry))
            searchFiles(descent.entry->path, descent.mask, true);
        else
            m_readAhead->forget(descent.listed);
    }
}

bool TZAFileSelector::isExcluded(const QString &full) const
{
    return std::any_of(m_excluded.begin(), m_excluded.end(),
                       [&full](const zapaths::FileMask &mask) { return mask.Matches(full); });
}

// What the search would have taken had it been a file or a folder; an
// unreadable entry may be either, and a folder counts only where the search
// enters or takes folders.
bool TZAFileSelector::wantsLeftOut(const platform::LeftOut &leftOut, const QString &nameMask, bool intoFolders) const
{
    using Reason = platform::LeftOut::Reason;
    const bool maybeFolder = leftOut.reason == Reason::Unreadable || leftOut.reason == Reason::LinkToFolder;
    const bool maybeFile = leftOut.reason != Reason::LinkToFolder;
    if (!(maybeFolder && intoFolders) && !(maybeFile && platform::matchesMaskWithSets(leftOut.name, nameMask)))
        return false;
    return !(maybeFile && isExcluded(leftOut.path)) && !(maybeFolder && isExcluded(leftOut.path + u'/'));
}

// An unreadable entry fails like a file that cannot be opened; what the
// walk passes over on purpose is only told.
void TZAFileSelector::reportLeftOut(const platform::LeftOut &leftOut)
{
    const bool unreadable = leftOut.reason == platform::LeftOut::Reason::Unreadable;
    const QString shown = platform::readableFileName(leftOut.path);
    TZAAction action = fxaIgnore;
    m_context.DoOnProcessFileFailure(shown, poAdd, unreadable ? zaconst::neCannotOpenFile : zaconst::neEntryPassedOver,
                                     unreadable ? zaconst::ecCannotOpenFile : zaconst::ecEntryPassedOver,
                                     platform::leftOutText(leftOut), action);
    if (unreadable && action == fxaAbort)
        throw EZAException(zaconst::neCannotOpenFile, {}, {shown});
}

bool TZAFileSelector::considerEntry(const platform::FolderEntry &entry)
{
    QString full = entry.path;
    if (entry.folder)
        full += u'/';
    if (isExcluded(full))
        return false;
    if (platform::hasRawBytes(full)) {
        // Left out, but never in silence: the failure names it.
        TZAAction action = fxaIgnore;
        const QString shown = platform::readableFileName(full);
        m_context.DoOnProcessFileFailure(shown, poAdd, zaconst::neCannotOpenFile, zaconst::ecCannotOpenFile,
                                         zaconst::nameNotStorable(shown), action);
        if (action == fxaAbort)
            throw EZAException(zaconst::neCannotOpenFile, {}, {shown});
        return false;
    }
    addFoundFile(full, entry);
    return true;
}

void TZAFileSelector::addFoundFile(const QString &full, const platform::FolderEntry &entry)
{
    bool confirm = true;
    m_context.DoOnConfirmProcessFile(full, poAdd, confirm);
    if (!confirm)
        return;
    const qsizetype index = addOrUpdateItem(full, entry);
    if (index < 0)
        return;
    TDirItem &item = m_context.Directory().Items.ItemPtr(index);
    if (std::any_of(m_stored.begin(), m_stored.end(),
                    [&full](const zapaths::FileMask &mask) { return mask.Matches(full); })) {
        item.CompressionMode = 0;
        item.Method = MethodStored;
    }
    item.UncompressedSize = uint64_t(entry.size);
}

qsizetype TZAFileSelector::addOrUpdateItem(const QString &path, const platform::FolderEntry &entry)
{
    const TZAOptions &options = m_settings.Options;
    QString name = m_names->Of(path);
    if (entry.folder && !name.endsWith(u'/'))
        name += u'/';
    uint32_t attributes = attributesOf(entry);
    QString comment;
    m_context.DoOnStoreFile(name, attributes, comment, path);
    // The name lives as long as the directory: no spare room.
    name.squeeze();

    TZADirArray &items = m_context.Directory().Items;
    const qsizetype found = items.FindName(name);
    if (found >= 0 && keepsExistingEntry(items.GetItem(found), path, name, entry))
        return -1;
    TDirItem item;
    buildDirItem(item, path, entry, attributes);
    item.Operation = found >= 0 ? poUpdate : poAdd;
    zanames::nameItem(item, name, options.OEMFileNames);
    item.Comment = zanames::encode(comment, options.OEMFileNames).bytes.left(0xFFFF);
    if (found < 0)
        return items.Append(item);
    items.SetItem(found, item);
    return found;
}

bool TZAFileSelector::keepsExistingEntry(const TDirItem &existing, const QString &path, const QString &name,
                                         const platform::FolderEntry &entry)
{
    switch (m_settings.Options.OverwriteMode) {
    case omPrompt: {
        QString destination = name;
        bool confirm = false;
        m_context.DoOnConfirmOverwrite(path, destination, confirm);
        return !confirm;
    }
    case omAlways: return false;
    case omNever: return true;
    case omIfNewer:
    case omIfOlder: {
        // A folder has no age of its own: it is kept when only newer files
        // replace entries, and replaced when older ones do.
        const bool ifNewer = m_settings.Options.OverwriteMode == omIfNewer;
        if (entry.folder)
            return ifNewer;
        const uint32_t stored = dosdatetime::join(existing.ModDate, existing.ModTime);
        const uint32_t current = m_localTime.ToDos(entry.modified);
        // The DOS time has two-second steps: a file rewritten within the
        // step of its entry still shows by its size, or by a time after the
        // archive's last writing, which came after any entry was made. (The
        // entries made here are dated back when the file may change unseen
        // within the step, see buildDirItem; entries of other programs and of
        // earlier versions are not.)
        if (ifNewer
            && (uint64_t(entry.size) != existing.UncompressedSize
                || (current == stored && m_archiveWritten.isValid() && entry.modified > m_archiveWritten)))
            return false;
        return ifNewer ? !(current > stored) : !(current < stored);
    }
    }
    return true;
}

void TZAFileSelector::buildDirItem(TDirItem &item, const QString &path, const platform::FolderEntry &entry,
                                   uint32_t attributes)
{
    const bool isFolder = entry.folder;
    const QDateTime &modified = entry.modified;
    const bool dated = !isFolder && modified.isValid();
    uint32_t dos = m_localTime.ToDos(dated ? modified : platform::now());
    // A file taken before its two-second step is over may change again
    // within that step after the commit has read it, and nothing would tell
    // the change later: its time and size can stay as they were. Its entry
    // is dated one step back, so that the next update takes it once more,
    // when the step is long over. (A file dated ahead of the clock is not:
    // a change made here would give it an earlier time, which no update
    // takes for newer.)
    if (dated && dos >= m_searchStarted && dos <= m_localTime.ToDos(platform::now()))
        dos = m_localTime.ToDos(modified.addSecs(-2));
    const uint16_t version = m_settings.Options.OEMFileNames ? VersionDefault : VersionAnsiNames;

    item.Modified = true;
    item.Password = m_settings.Password.toLocal8Bit();
    // A folder has no data to read; its path names it in the events.
    item.SourceFileName = path;
    item.CompressionMode = uint8_t(isFolder ? 0 : m_settings.CompressionMode);
    item.Method = m_settings.CompressionMethod;
    item.VersionMadeBy = version;
    item.VersionNeeded = m_settings.StandardSignatures ? version : VersionAlternate;
    item.Flags = m_settings.Password.isEmpty() ? 0 : FlagEncrypted;
    item.ModDate = dosdatetime::datePart(dos);
    item.ModTime = dosdatetime::timePart(dos);
    item.Crc32 = 0xFFFFFFFF;
    item.ExternalAttributes = attributes;
    if (isFolder) {
        item.Method = MethodStored;
        item.Crc32 = 0;
        item.Flags = 2;
    }
}
