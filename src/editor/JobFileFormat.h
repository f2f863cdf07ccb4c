#pragma once

#include "PelvoExt.h"
#include "TextEncoding.h"

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
};

// Reads a job file; nothing when no name is given or the file cannot be
// opened. A file without a ">" line gives no jobs.
std::optional<JobList> ReadJobFile(const QString &path);

// Writes the jobs as a job file in the list's encoding. The previous file is kept as the file of
// the same name with the extension ".BAK" (one previous version only). The
// new file replaces the old one only once it is complete, so a failed save
// loses nothing. Returns an empty string on success, else a message that
// says what could not be saved.
QString SaveJobFile(const QString &path, const JobList &jobs);

// "jobs.dat" -> "jobs.BAK".
QString backupFileName(const QString &path);

} // namespace pelvo
