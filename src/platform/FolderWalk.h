#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

// The one way the programs list folders. Names come raw from the file
// system (see FileNames.h), so a name that is not valid UTF-8 is still
// seen; each entry is looked at once; links to folders are never
// followed (a walk could loop or leave the tree), and pipes, sockets and
// devices are left out, since reading one could block a run for good.
// Nothing is left out in silence: a listing tells what it could not read
// and what it passed over, so that a run can say so.
namespace platform {

struct FolderEntry {
    QString name;
    QString path; // the folder as given, then the name
    bool folder = false;
    qint64 size = 0;
    QDateTime modified;
    bool ownerWritable = true;
};

// An entry of a folder that a listing does not give, and why.
struct LeftOut {
    enum class Reason {
        Unreadable,   // its facts could not be read (no permission, a path too long)
        LinkToFolder, // not followed
        DanglingLink, // leads nowhere
        LinkLoop,     // leads back to itself
        Special,      // a pipe, socket or device
    };
    QString name;
    QString path;
    Reason reason = Reason::Unreadable;
};

// The folder itself as an entry that could not be read.
LeftOut unreadableFolder(const QString &folder);

struct FolderListing {
    QList<FolderEntry> entries;
    QList<LeftOut> leftOut;
    // False when the folder itself could not be read (its content is
    // unknown); a folder that does not exist is no such failure.
    bool readable = true;
};

// The files (and links to files) and real folders of folder, by name, and
// what was left out.
FolderListing readFolder(const QString &folder);

// A line for a person about an entry left out, or about a folder that
// could not be read when its path ends in a separator.
QString leftOutText(const LeftOut &leftOut);

// The entries of readFolder alone, for callers that look for something
// and report its absence themselves.
QList<FolderEntry> listFolder(const QString &folder);

// The same facts for one path; nothing when it is missing, a link to a
// folder or neither a file nor a folder.
std::optional<FolderEntry> entryAt(const QString &path);

// True when path is a real folder (not a link to one).
bool isRealFolder(const QString &path);

// folder and every folder below it, parents before their children, each
// ending in a separator.
QStringList folderTree(const QString &folder);

// Removes the folders, given parents before children, deepest first, so
// that each is empty when its turn comes; a folder that still holds
// anything stays. wanted may leave a folder out; stop ends the removal
// early, and what it did not reach does not count as failed. complete is
// false when a wanted folder stayed; removed counts those that went.
struct FolderRemoval {
    bool complete = true;
    qint64 removed = 0;
};
FolderRemoval removeFoldersDeepestFirst(const QStringList &parentsFirst,
                                        const std::function<bool(const QString &)> &wanted = {},
                                        const std::atomic<bool> *stop = nullptr);

// Creates the folder and its missing parents.
bool makeFolder(const QString &path);

} // namespace platform
