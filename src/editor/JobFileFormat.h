#pragma once

#include "editor/PelvoExt.h"
#include "shared/TextEncoding.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace pelvo {

// The jobs of one job file as the editor holds them: names and blocks at the
// same index, and the encoding the file is written in (a new file takes
// code page 1251, which the Windows build reads).
struct JobList {
    QStringList names;
    TBlocks blocks;
    textencoding::Encoding encoding = textencoding::Encoding::Cp1251;
    int extraMarks = 0; // byte-order marks after the first, written back as read
};

// Reads a job file; nothing when no name is given or the file cannot be
// opened. A file without a ">" line gives no jobs.
std::optional<JobList> ReadJobFile(const QString &path);

// Where a text of a job lies on the editor's pages.
enum class JobPlace { Name, ArchiveName, Source, Comment, Exclusions, Destination, ExtraCopy, Command };

// A text of the jobs that a reader would not read back as it was written.
struct SaveRefusal {
    int job = 0; // index of the job
    JobPlace place = JobPlace::Name;
    int line = 0; // index in the place's list (sources, destinations, copies, commands)
    QString reason;
};

// The first text that keeps the jobs from being saved; nothing when every
// text can be.
std::optional<SaveRefusal> FindSaveRefusal(const JobList &jobs);

// Writes the jobs as a job file in the list's encoding (in UTF-8 with the
// mark where the bytes would read back as other text). The previous file is kept as the file of
// the same name with the extension ".BAK" (one previous version only). The
// new file replaces the old one only once it is complete, so a failed save
// loses nothing. Returns an empty string on success, else a message that
// says what could not be saved (a refusal, or why the file was not written).
QString SaveJobFile(const QString &path, const JobList &jobs);

// "jobs.dat" -> "jobs.BAK".
QString backupFileName(const QString &path);

} // namespace pelvo
