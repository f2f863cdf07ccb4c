#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The report file and the scheduler's journal as lines: UTF-8 text with
// CR LF line ends; files with LF alone are read too, and so are reports in
// code page 1251 as the Windows build writes them, each line by the rule of
// TextEncoding.h.
namespace report {

// The file's lines; nullopt when it cannot be read (a missing file too).
// The end of the last line adds no empty line.
std::optional<QStringList> ReadReportText(const QString &path);

// Replaces the file by the lines, each ended by CR LF; false when it cannot
// be written, in which case the file keeps what it held.
bool WriteReportText(const QString &path, const QStringList &lines);

} // namespace report
