#pragma once

#include "platform/FolderWalk.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// The file commands of a run: copy, move and delete files chosen by a path or
// a mask, with optional recursion. They run on the run's worker thread,
// report through FileProgress, and never raise: the result is False when any
// step failed, and a failed file does not stop the others.
namespace zentavo {

// Where a file command works, taken from the run that gives it: the folder
// in which names without a folder lie (the job file's), the flag that
// stops it (the command then returns with its result so far), who hears
// of what the walk left out: a folder it could not read (which fails the
// command) and the links, pipes and devices it passed over, and who hears,
// in a line for a person, of a file that could not be copied, moved or
// deleted and why.
struct FileCommandScope {
    QString jobFolder;
    const std::atomic<bool> *stop = nullptr;
    std::function<void(const platform::LeftOut &)> leftOut = {};
    std::function<void(const QString &)> failure = {};

    bool stopped() const { return stop && stop->load(); }
};

// What a file command shows while it works (the main window's gauge and
// file label). The window implements it by queued updates; the commands call
// it from the worker thread only.
class FileProgress {
public:
    virtual ~FileProgress() = default;
    // The label's text.
    virtual void showText(const QString &text) = 0;
    // The gauge's range in bytes; its position goes back to 0.
    virtual void setGaugeMaximum(qint64 bytes) = 0;
    virtual void setGaugePosition(qint64 bytes) = 0;

    // Files (when deleting, also folders) done; the caller reads it after the command.
    qint64 Tag = 0;
};

// Appends the entries of dir that match mask: a file as its full path, "="
// and its size; a folder as its full path ending in a separator, before its
// contents. An empty mask means "*.*"; an empty dir means the scope's job
// folder. With recursive, matching subfolders are walked too (so
// "*.doc" does not enter a folder named "Archive"). Directory links are not
// followed; FIFOs, sockets and devices are left out; each such entry that
// matches the mask goes to the scope's leftOut. False when a folder or an
// entry could not be read.
bool BuildFileList(QString dir, QString mask, bool recursive, QStringList &list, const FileCommandScope &scope = {});

// source: a file, a mask or a folder (meaning all of it). target: a folder
// when it ends in a separator or is an existing folder, otherwise one file
// name that every file is copied onto.
bool CopyFiles(const QString &source, const QString &target, bool recursive, FileProgress *progress = nullptr,
               const FileCommandScope &scope = {});

// target: a folder (as for CopyFiles), a new name for a single source file,
// or a rename pattern with "*" ("/b/*.bak").
bool MoveFiles(const QString &source, const QString &target, bool recursive, FileProgress *progress = nullptr,
               const FileCommandScope &scope = {});

// Deletes the files chosen by source and, with recursive, the emptied
// subfolders; the folder named by source itself stays. Nothing to delete is
// a success.
bool DeleteFiles(const QString &source, bool recursive, FileProgress *progress = nullptr,
                 const FileCommandScope &scope = {});

// What the first "*" of mask stands for in name, assuming name matches mask
// and mask holds one "*"; empty when mask holds none.
QString WildcardPart(const QString &mask, const QString &name);

} // namespace zentavo
