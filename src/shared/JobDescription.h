#pragma once

#include "shared/StyledLine.h"
#include "shared/ZentavoExt.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace platform {
class VersionBlock;
}

namespace zentavo {

// A line of a job that applies on some week days only: a daily copy's
// folder or a command, with its days (empty: every day).
struct DayLine {
    QString text;
    QString days;
};

// One job as its printed description shows it. The main program and the
// editor each turn their own job layout into this.
struct DescribedJob {
    QString title;
    QString archive;
    QString comment;
    QStringList sources;
    QStringList exclusions; // line i: the "|"-separated masks of source i
    std::vector<DayLine> dests;
    std::array<QStringList, 4> periodCopies; // folders of the week, month, quarter and year copies
    // The heading of the period copies is printed: the main program prints
    // it when it has folders to list, the editor whenever its one list of
    // these copies has lines.
    bool listsPeriodCopies = false;
    std::vector<DayLine> commandsBefore;
    std::vector<DayLine> commandsAfter;
};

// The two programs number their jobs differently: "N  1" in the main
// program, "N 1" in the editor.
enum class JobNumbering { MainProgram, Editor };

// The description's header: the program's name and version, description and
// file version (each only when the version block has it), then after an
// empty line the job file. Lines are separated by a line feed.
QString JobDescriptionHeader(const platform::VersionBlock &version, const QString &jobFileName);

// The printed description of a job file: the header in bold, then every job
// with its archive, sources, comment, copies and commands, the captions in
// normal type and the job's own texts in italics. Every line gets the
// printer's left indent, so the lines hold only the further tabs.
std::vector<StyledLine> DescribeJobs(const QString &header, const std::vector<DescribedJob> &jobs,
                                     JobNumbering numbering);

// A main-program job as the description shows it.
DescribedJob DescribedJobOf(const TBlock &block);

// How the description shows a command: a file command in words ("Copy
// "/a" to "/b"", "Delete "/a""), any other command, and a file command that
// does not parse, as it is written.
QString CommandDisplayText(const QString &command);

// The days part of a copy or command: "(only on Mo, Fr)". A character that
// is no weekday digit is shown as it is.
QString DaysText(const QString &days);

} // namespace zentavo
