#pragma once

#include "engine/ArchiveFiles.h"
#include "engine/ProgressGate.h"
#include "engine/RunContext.h"
#include "engine/RunSettings.h"
#include "shared/Common.h"
#include "shared/ZentavoExt.h"

#include <QDateTime>
#include <QString>

class RunRequests;
class RunReport;
class RunView;
class TZipArchiver;

// One run of the loaded jobs, the body of the run's worker thread: commands
// before archiving, the archive of each enabled job, its copies to the
// destinations of the day and at period ends, commands after archiving, a
// status per job and the summary. It works on its own copy of the jobs and
// settings, taken when the run was asked for.
class TRunEngine {
public:
    TRunEngine(zentavo::TBlocks blocks, RunSettings settings, RunContext context, RunRequests &requests, RunView &view,
               RunReport &report);

    void Execute();

    // The jobs as the run left them, with their statuses.
    const zentavo::TBlocks &Blocks() const { return m_blocks; }
    // The index of the job under way (or the last one).
    int BlockIndex() const { return m_blockIndex; }
    // The highest status of the enabled jobs.
    int OverallResult() const;
    const RunSettings &Settings() const { return m_settings; }

    // Runs a built-in file command; False when the line names a program.
    // status becomes 1 when the command failed.
    bool ExecCommand(const QString &line, quint8 &status);

    // Saves the archive of the previous run day under the other parity's
    // name when it has the same parity as today (the 31st followed by the
    // 1st), before today's archive is written over it. name holds a "?"
    // where the parity digit goes.
    void PrepareEvenUneven(const QString &name, quint8 &status);

private:
    void startRun();
    void endRun();
    // False when the run was stopped.
    bool runBlock(zentavo::TBlock &block);
    bool runCommands(zentavo::TBlock &block, TStringListMy &commands);
    bool makeArchiveFolder(zentavo::TBlock &block);
    // The archiver's masks for the block; False when the block has nothing to archive.
    bool prepareSources(zentavo::TBlock &block, TZipArchiver &zip);
    void prepareExclusions(const zentavo::TBlock &block, TZipArchiver &zip);
    void setUpArchiver(TZipArchiver &zip, const QString &archiveName);
    void recoverArchive(TZipArchiver &zip, const QString &archiveName);
    // False when the run was stopped.
    bool archive(zentavo::TBlock &block, TZipArchiver &zip);
    bool archiveStopping() const;
    void reportRepair(zentavo::TBlock &block, const TZipArchiver &zip);
    bool copyToDestinations(zentavo::TBlock &block);
    void copyAtPeriodEnd(zentavo::TBlock &block);
    bool copyPeriod(zentavo::TBlock &block, TStringListMy &targets, bool periodEnds, const QString &header);
    bool ensureFolder(const QString &folder, quint8 &status, quint8 failureStatus);

    void AddRep(const QString &line);
    void addTimed(const QString &text);
    // The line of the file failure event, naming the file.
    void reportFileFailure(const QString &fileName, int errorCode, const QString &errorMessage);
    void raise(zentavo::TBlock &block, quint8 status);
    bool volumesOn() const { return m_settings.ComboBoxVol != 0; }
    // The files of the archive of that name, as this run writes its volumes.
    ArchiveFiles archiveFiles(const QString &name) const;
    QString parityDigit(bool today) const;
    QDate runDay() const { return m_context.StartTime.date(); }
    zentavo::FileCommandScope fileScope() const;

    zentavo::TBlocks m_blocks;
    RunSettings m_settings;
    RunRequests &m_requests;
    RunView &m_view;
    RunReport &m_report;
    RunContext m_context;
    int m_blockIndex = 0;
    QString m_tempFolder;
    ArchiveFiles m_archive; // the job's archive, or all its volumes
    int m_addedFiles = 0;
    int m_foundFiles = 0; // files the sources selected, added or kept
    QString m_unanswered; // the archiver's question that nobody answered
    ProgressGate m_progressGate;
};
