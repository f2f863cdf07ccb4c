#pragma once

#include "report/ReportShare.h"

#include <QFile>
#include <QString>

#include <memory>

// The scheduler's journal of starts in the journal folder, kept like the
// report file.
inline const QString JournalFileName = QStringLiteral("Vorrin.rep");

// The run report's file, "Report.txt" in the report folder, written line by
// line during a run. Writing never throws: a file that cannot be written is
// turned off for the rest of the run, and the run goes on with the report in
// the window. A report that is empty or was cut off by a failed write never
// replaces "Report.bak"; the next run adds its lines after it instead.
// Several runs may write the same report at once (ReportShare): each adds
// whole lines, and only a run that finds none other writing it saves,
// empties or trims it.
class ReportFile {
public:
    static inline const QString FileName = QStringLiteral("Report.txt");
    static inline const QString BackupName = QStringLiteral("Report.bak");

    // Saves the previous report as "Report.bak" (true when that worked; a
    // failed copy keeps the older "Report.bak"), then
    // opens "Report.txt" for appending or empty; when it cannot be opened the
    // file stays off. A previous report is emptied only once it is saved:
    // without room for a copy it is renamed to "Report.bak", and when even
    // that fails the run's lines are appended to it. While another run
    // writes the report, it is neither saved nor emptied: this run's lines
    // are added to it.
    bool start(const QString &folder, bool append);

    // Whether another run was writing the report when this run started it.
    bool sharedWithAnotherRun() const { return m_company == ReportShare::Company::Others; }

    // Opens the file again for appending lines after the run (the mail
    // transcript); it stays off when it cannot be opened or was cut off.
    void reopenForAppend();

    bool isOpen() const { return m_file != nullptr; }
    QString path() const { return m_path; }

    // False only for the line whose writing failed and turned the file off,
    // so that the caller tells it once.
    bool write(const QString &line);

    // Closes the file, making sure its lines reached the disk.
    void close();

    // Closes the file and ends this run's writing of the report; when no
    // other run writes it any more, it is first trimmed to limitKb (see
    // CheckRepSize), false when that failed.
    bool finish(int limitKb);

private:
    bool rotate(const QString &folder, bool append);
    bool open(QIODevice::OpenMode mode);
    void markCutOff(qint64 written);

    QString m_path;
    std::unique_ptr<QFile> m_file;
    bool m_cutOff = false;
    bool m_endsWhole = false; // the file holds lines and ends with a line end
    bool m_fresh = false;     // created anew for this run
    std::unique_ptr<ReportShare> m_share;
    ReportShare::Company m_company = ReportShare::Company::Unknown;
};

// Cuts whole lines from the top of a text file until it holds at most
// limitKb kilobytes; 0 means no limit. The file is rewritten once, through a
// temporary file, and only when a line was removed, so a full disk never
// costs the report; false when the trimmed file could not be written.
bool CheckRepSize(const QString &path, int limitKb);
