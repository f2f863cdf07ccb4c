#include "Common.h"

#include "platform/FileNames.h"
#include "platform/FileTransfer.h"
#include "platform/FolderWalk.h"
#include "platform/Paths.h"
#include "platform/Wildcard.h"
#include "shared/ConstStr.h"
#include "shared/ZentavoExt.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QSet>

#include <filesystem>
#include <system_error>

namespace zentavo {

namespace {

using platform::endsWithSeparator;
using platform::folderPart;
using platform::withTrailingSeparator;

// A line of a file list.
struct Entry {
    QString path;
    qint64 size = 0;
    bool folder = false;
};

Entry entryOf(const QString &line)
{
    if (endsWithSeparator(line))
        return {line, 0, true};
    // The size follows the last "=": a file name may hold "=" itself.
    const qsizetype equals = line.lastIndexOf(u'=');
    return {line.left(equals), line.mid(equals + 1).toLongLong(), false};
}

// A name without a folder lies in the folder of the job file in use; empty
// when no job file gives one, so that a walk never starts from a folder
// nobody named.
QString withJobFolder(const QString &path, const QString &jobFolder)
{
    if (path.isEmpty() || platform::hasFolderPart(path))
        return path;
    return jobFolder.isEmpty() ? QString() : withTrailingSeparator(jobFolder) + path;
}

// The folder and the mask that a command's source names; a folder stands
// for all of its content.
struct Selection {
    QString folder;
    QString mask;
    QString text() const { return folder + mask; }
};

Selection selectionOf(const QString &source, const QString &jobFolder)
{
    QString path = withJobFolder(source, jobFolder);
    if (!path.isEmpty() && platform::isRealFolder(path))
        path = withTrailingSeparator(path) + QStringLiteral("*.*");
    const QString folder = folderPart(path);
    return {folder, path.mid(folder.size())};
}

// The entries the selection names; complete is false when the walk could
// not read all of them.
QList<Entry> entriesOf(const Selection &selection, bool recursive, const FileCommandScope &scope, bool &complete)
{
    QList<Entry> entries;
    complete = true;
    if (selection.folder.isEmpty())
        return entries;
    QStringList lines;
    complete = BuildFileList(selection.folder, selection.mask, recursive, lines, scope);
    entries.reserve(lines.size());
    for (const QString &line : lines)
        entries << entryOf(line);
    return entries;
}

bool walk(const QString &dir, const QString &mask, bool recursive, QStringList &list, const FileCommandScope &scope)
{
    const auto tell = [&scope](const platform::LeftOut &leftOut) {
        if (scope.leftOut)
            scope.leftOut(leftOut);
    };
    const platform::FolderListing listing = platform::readFolder(dir);
    bool complete = listing.readable;
    if (!listing.readable)
        tell(platform::unreadableFolder(dir));
    for (const platform::LeftOut &leftOut : listing.leftOut) {
        if (!platform::matchesMask(leftOut.name, mask))
            continue;
        complete = complete && leftOut.reason != platform::LeftOut::Reason::Unreadable;
        tell(leftOut);
    }
    for (const platform::FolderEntry &entry : listing.entries) {
        if (!platform::matchesMask(entry.name, mask))
            continue;
        if (entry.folder) {
            const QString folder = dir + entry.name + platform::separator();
            list << folder;
            if (recursive)
                complete = walk(folder, mask, recursive, list, scope) && complete;
        } else {
            list << dir + entry.name + u'=' + QString::number(entry.size);
        }
    }
    return complete;
}

// What a command does to one file, for the line that tells of its failure:
// said like what a walk leaves out, the file (and where it was to go) by
// name, then the reason.
struct FileStep {
    QString action;
    QString from;
    QString to = {};

    QString failureText(const QString &reason) const
    {
        QString text
            = QStringLiteral("Cannot ") + action + QStringLiteral(" \"") + platform::readableFileName(from) + u'"';
        if (!to.isNull())
            text += QStringLiteral(" to \"") + platform::readableFileName(to) + u'"';
        return text + QStringLiteral(": ") + reason;
    }
};

// The progress of one command, on a FileProgress when there is one. The
// label is cleared however the command returns.
class Reporter {
public:
    explicit Reporter(FileProgress *progress) : m_progress(progress) { show(sCreateFileList); }
    ~Reporter() { show(QString()); }
    Reporter(const Reporter &) = delete;
    Reporter &operator=(const Reporter &) = delete;

    void show(const QString &text)
    {
        if (m_progress)
            m_progress->showText(text);
    }
    void showFile(const QString &name, qint64 size)
    {
        show(platform::readableFileName(name) + QStringLiteral(" (") + QString::number(size) + QStringLiteral(" b)"));
    }
    void start(const QList<Entry> &entries)
    {
        qint64 total = 0;
        for (const Entry &entry : entries)
            total += entry.size;
        if (m_progress) {
            m_progress->setGaugeMaximum(total);
            m_progress->setGaugePosition(0);
        }
    }
    void advance(qint64 bytes)
    {
        m_done += bytes;
        if (m_progress)
            m_progress->setGaugePosition(m_done);
    }
    void resetCount()
    {
        if (m_progress)
            m_progress->Tag = 0;
    }
    void countOne() { count(1); }
    // A file step's outcome: counted when done, else told to the scope with
    // its reason, unless the command was stopped (no fault of the file).
    // Returns done.
    bool settle(bool done, const FileStep &step, const QString &reason, const FileCommandScope &scope)
    {
        if (done)
            countOne();
        else if (scope.failure && !scope.stopped())
            scope.failure(step.failureText(reason));
        return done;
    }
    void count(qint64 done)
    {
        if (m_progress)
            m_progress->Tag += done;
    }

private:
    FileProgress *m_progress;
    qint64 m_done = 0;
};

// The folder of a move's source that the move's target folder is or lies
// in, when the walk takes that folder along: it would have to go into
// itself. Links are followed, so a target reached through one is found
// too. Empty when there is none (a target that is the source's own folder
// moves nothing).
QString folderHoldingTarget(const Selection &selection, const QString &targetFolder)
{
    const auto resolved = [](const QString &folder) {
        std::error_code error;
        std::filesystem::path path = std::filesystem::weakly_canonical(platform::nativePath(folder), error);
        if (!path.has_filename())
            path = path.parent_path();
        return error ? std::filesystem::path() : path;
    };
    const std::filesystem::path from = resolved(selection.folder);
    const std::filesystem::path to = resolved(targetFolder);
    if (from.empty() || to.empty())
        return {};
    const std::filesystem::path inside = to.lexically_relative(from);
    if (inside.empty() || *inside.begin() == "." || *inside.begin() == "..")
        return {};
    const QString name = platform::fileNameFromBytes(QByteArray::fromStdString(inside.begin()->native()));
    if (!platform::matchesMask(name, selection.mask))
        return {};
    return selection.folder + name + platform::separator();
}

// The folders of a list, parents before their children as the walk found them.
QStringList foldersOf(const QList<Entry> &entries)
{
    QStringList folders;
    for (const Entry &entry : entries) {
        if (entry.folder)
            folders << entry.path;
    }
    return folders;
}

// One name per file, whatever way it was written.
QString keyOf(const QString &path)
{
    return platform::fileNameKey(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

} // namespace

bool BuildFileList(QString dir, QString mask, bool recursive, QStringList &list, const FileCommandScope &scope)
{
    if (mask.isEmpty())
        mask = QStringLiteral("*.*");
    if (dir.isEmpty())
        dir = scope.jobFolder;
    if (dir.isEmpty())
        return true;
    return walk(withTrailingSeparator(dir), mask, recursive, list, scope);
}

bool CopyFiles(const QString &source, const QString &target, bool recursive, FileProgress *progress,
               const FileCommandScope &scope)
{
    if (source.isEmpty() || target.isEmpty())
        return false;
    Reporter reporter(progress);
    bool ok = true;
    const bool toFolder = endsWithSeparator(target) || platform::isRealFolder(target);
    const QString targetFolder = toFolder ? withTrailingSeparator(target) : QString();
    if (toFolder && !platform::makeFolder(targetFolder))
        ok = false;

    const Selection selection = selectionOf(source, scope.jobFolder);
    bool complete = true;
    const QList<Entry> entries = entriesOf(selection, recursive, scope, complete);
    if (entries.isEmpty() || !complete)
        ok = false;
    reporter.start(entries);
    reporter.resetCount();
    for (const Entry &entry : entries) {
        if (scope.stopped())
            return ok;
        const QString relative = entry.path.mid(selection.folder.size());
        if (entry.folder) {
            if (toFolder && !platform::makeFolder(targetFolder + relative))
                ok = false;
            continue;
        }
        reporter.showFile(relative, entry.size);
        const QString to = toFolder ? targetFolder + relative : target;
        QString error;
        const bool copied = platform::copyFile(entry.path, to, scope.stop, &error);
        ok = reporter.settle(copied, {QStringLiteral("copy"), entry.path, to}, error, scope) && ok;
        reporter.advance(entry.size);
    }
    return ok;
}

bool MoveFiles(const QString &source, const QString &target, bool recursive, FileProgress *progress,
               const FileCommandScope &scope)
{
    if (source.isEmpty() || target.isEmpty())
        return false;
    Reporter reporter(progress);
    bool ok = true;
    const Selection selection = selectionOf(source, scope.jobFolder);

    enum class Kind { Folder, FileName, Pattern };
    Kind kind = Kind::Folder;
    if (!endsWithSeparator(target) && !platform::isRealFolder(target)) {
        if (!platform::hasWildcards(selection.mask))
            kind = Kind::FileName;
        else if (target.contains(u'*'))
            kind = Kind::Pattern;
    }
    // Where the subfolders of the source go; none for a single file name.
    const QString targetFolder = kind == Kind::Folder ? withTrailingSeparator(target)
        : kind == Kind::Pattern                       ? folderPart(target)
                                                      : QString();
    if (!targetFolder.isEmpty()) {
        const QString holding = folderHoldingTarget(selection, targetFolder);
        if (!holding.isEmpty())
            return reporter.settle(false, {QStringLiteral("move"), holding, targetFolder}, sMoveIntoItself, scope);
    }
    if (kind == Kind::Folder && !platform::makeFolder(targetFolder))
        ok = false;

    bool complete = true;
    const QList<Entry> entries = entriesOf(selection, recursive, scope, complete);
    ok = ok && complete;
    reporter.start(entries);
    reporter.resetCount();

    // A target is never replaced when this call made it a moment before, nor
    // when it is a source still waiting for its own move.
    QSet<QString> waiting;
    for (const Entry &entry : entries) {
        if (!entry.folder)
            waiting.insert(keyOf(entry.path));
    }
    QSet<QString> produced;

    for (const Entry &entry : entries) {
        if (scope.stopped())
            return ok;
        const QString relative = entry.path.mid(selection.folder.size());
        if (entry.folder) {
            if (!targetFolder.isEmpty() && !platform::makeFolder(targetFolder + relative))
                ok = false;
            continue;
        }
        waiting.remove(keyOf(entry.path));
        reporter.showFile(relative, entry.size);
        QString to;
        switch (kind) {
        case Kind::Folder: to = targetFolder + relative; break;
        case Kind::FileName: to = target; break;
        case Kind::Pattern: to = QString(target).replace(u'*', WildcardPart(selection.text(), entry.path)); break;
        }
        const QString toKey = keyOf(to);
        const bool inPlace = platform::isSameFile(entry.path, to); // already where it should go
        QString error;
        if (!inPlace && produced.contains(toKey))
            error = QStringLiteral("Another file of this move went there");
        else if (!inPlace && waiting.contains(toKey))
            error = QStringLiteral("A file there is still to be moved");
        const bool moved = inPlace || (error.isNull() && platform::moveFile(entry.path, to, &error));
        if (!reporter.settle(moved, {QStringLiteral("move"), entry.path, to}, error, scope))
            ok = false;
        else if (!inPlace)
            produced.insert(toKey);
        reporter.advance(entry.size);
    }

    // A folder moved onto itself is its own target and stays.
    const auto movedAway = [&](const QString &folder) {
        return targetFolder.isEmpty()
            || !platform::isSameFile(folder, targetFolder + folder.mid(selection.folder.size()));
    };
    return platform::removeFoldersDeepestFirst(foldersOf(entries), movedAway, scope.stop).complete && ok;
}

bool DeleteFiles(const QString &source, bool recursive, FileProgress *progress, const FileCommandScope &scope)
{
    if (source.isEmpty())
        return false;
    Reporter reporter(progress);
    bool ok = true;
    const QList<Entry> entries = entriesOf(selectionOf(source, scope.jobFolder), recursive, scope, ok);
    reporter.start(entries);
    for (const Entry &entry : entries) {
        if (scope.stopped())
            return ok;
        if (entry.folder)
            continue;
        reporter.showFile(entry.path, entry.size);
        QString error;
        const bool removed = platform::removeFile(entry.path, &error);
        ok = reporter.settle(removed, {QStringLiteral("delete"), entry.path}, error, scope) && ok;
        reporter.advance(entry.size);
    }
    const platform::FolderRemoval removal = platform::removeFoldersDeepestFirst(foldersOf(entries), {}, scope.stop);
    reporter.count(removal.removed);
    return removal.complete && ok;
}

QString WildcardPart(const QString &mask, const QString &name)
{
    const qsizetype star = mask.indexOf(u'*');
    const qsizetype length = name.size() - mask.size() + 1;
    if (star < 0 || length <= 0)
        return {};
    return name.mid(star, length);
}

} // namespace zentavo
