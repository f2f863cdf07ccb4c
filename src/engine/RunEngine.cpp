#include "RunEngine.h"

#include "engine/RunReport.h"
#include "engine/RunRequests.h"
#include "engine/RunView.h"
#include "platform/Paths.h"
#include "report/ReportLines.h"
#include "shared/BuiltInCommand.h"
#include "shared/Common.h"
#include "shared/ConstStr.h"
#include "shared/ZetuUnit.h"
#include "zip/ZipArchiver.h"

#include <QDir>
#include <QFileInfo>

using namespace zentavo;

namespace {

QString withFirstReplaced(QString text, QChar mark, const QString &by)
{
    const qsizetype at = text.indexOf(mark);
    if (at >= 0)
        text.replace(at, 1, by);
    return text;
}

} // namespace

TRunEngine::TRunEngine(TBlocks blocks, RunSettings settings, RunContext context, RunRequests &requests, RunView &view,
                       RunReport &report)
    : m_blocks(std::move(blocks))
    , m_settings(std::move(settings))
    , m_requests(requests)
    , m_view(view)
    , m_report(report)
    , m_context(std::move(context))
{
}

FileCommandScope TRunEngine::fileScope() const
{
    // What a command's walk left out, and a file it could not copy, is a
    // line of its own; a folder it could not read also fails the command.
    return {
        platform::folderPart(m_context.JobFileName), m_requests.copyStopFlag(),
        [this](const platform::LeftOut &leftOut) { m_report.AddRep(report::timed(platform::leftOutText(leftOut))); },
        [this](const QString &failure) { m_report.AddRep(report::timed(failure)); }};
}

int TRunEngine::OverallResult() const
{
    int result = StatusOk;
    for (const TBlock &block : m_blocks) {
        if (block.GetFlag(Enabled))
            result = std::max<int>(result, block.GetFlag(Status));
    }
    return result;
}

void TRunEngine::AddRep(const QString &line)
{
    m_report.AddRep(line);
}

void TRunEngine::addTimed(const QString &text)
{
    AddRep(report::timed(text));
}

void TRunEngine::raise(TBlock &block, quint8 status)
{
    if (status > block.GetFlag(Status))
        block.SetFlag(Status, status);
}

QString TRunEngine::parityDigit(bool today) const
{
    const bool odd = runDay().day() % 2 == 1;
    return (odd == today) ? QStringLiteral("1") : QStringLiteral("2");
}

void TRunEngine::Execute()
{
    if (!m_requests.beginRun())
        return;
    startRun();
    for (m_blockIndex = 0; m_blockIndex < int(m_blocks.size()); ++m_blockIndex) {
        m_view.setGaugeMaximum(100);
        if (m_requests.stopRequested())
            return;
        TBlock &block = m_blocks[std::size_t(m_blockIndex)];
        if (!block.GetFlag(Enabled))
            continue;
        try {
            if (!runBlock(block))
                return;
        } catch (const std::exception &failure) {
            // Whatever went wrong inside one job ends that job, not the run.
            addTimed(sArchiveError + QStringLiteral(" (") + QString::fromLocal8Bit(failure.what()) + u')');
            raise(block, StatusFatal);
            AddRep(report::Separator);
        }
    }
    endRun();
}

void TRunEngine::startRun()
{
    m_view.setGaugeMaximum(100);
    m_view.runStarting();

    m_tempFolder = platform::temporaryFolder(m_settings.EditTemp);
    QDir().mkpath(m_tempFolder);

    // Period marks in the copy targets, for every job, enabled or not.
    for (TBlock &block : m_blocks) {
        const std::array<std::pair<TStringListMy *, PeriodKind>, 4> lists{{{&block.WeekCopies, PeriodWeek},
                                                                           {&block.MonthCopies, PeriodMonth},
                                                                           {&block.QuarterCopies, PeriodQuarter},
                                                                           {&block.YearCopies, PeriodYear}}};
        for (const auto &[list, kind] : lists) {
            for (QString &line : *list)
                line = ExpandPeriodMark(line, kind, m_context.StartTime);
        }
    }

    bool backupSaved = false;
    bool shared = false;
    if (m_settings.CheckBoxRep) {
        backupSaved = m_report.file().start(m_settings.ButtonRepDir, m_settings.CheckBoxRepAdd);
        shared = m_report.file().sharedWithAnotherRun();
        if (!m_report.file().isOpen())
            m_settings.CheckBoxRep = false;
    }
    addTimed(sBeginProcess);
    for (const QString &notice : m_context.Notices)
        AddRep(notice);
    // Its lines and the other run's are mixed in the file, and a report
    // that was to be rewritten is added to: the reader has to know.
    if (shared)
        AddRep(sReportShared + u' ' + m_report.file().path());
    if (backupSaved)
        AddRep(sReportBak + QStringLiteral(" Report.bak"));
    AddRep(report::Separator);
}

void TRunEngine::endRun()
{
    m_view.showJob(QString(), 0, int(m_blocks.size()));
    for (const TBlock &block : m_blocks) {
        if (block.GetFlag(Enabled))
            AddRep(block.GetStr(Title) + QStringLiteral(" - ") + sRes.at(block.GetFlag(Status)));
    }
    AddRep(report::Separator);
    addTimed(sEndProcess);
    AddRep(QString());
    // A report file that could not be opened still ends this run's share of it.
    if (!m_report.file().finish(m_settings.CheckBoxRep ? m_settings.EditRepSize : 0))
        AddRep(sWriteError + u' ' + m_report.file().path());
    m_view.runEnded();
    m_requests.endRun();
}

bool TRunEngine::runBlock(TBlock &block)
{
    m_view.showJob(block.GetStr(Title), m_blockIndex + 1, int(m_blocks.size()));
    block.SetFlag(Status, StatusOk);
    AddRep(sJob + u' ' + block.GetStr(Title));

    if (m_settings.CheckBoxSFX)
        block.SetStr(ArchiveName, platform::changeFileExt(block.GetStr(ArchiveName), QStringLiteral(".exe")));

    if (!runCommands(block, block.CmdBefore))
        return false;

    if (block.GetStr(ArchiveName).contains(u'?')) {
        quint8 status = StatusOk;
        const QString name = block.GetStr(ArchiveName);
        PrepareEvenUneven(name, status);
        raise(block, status);
        block.SetStr(ArchiveName, withFirstReplaced(name, u'?', parityDigit(true)));
    }
    const QString archiveName = ExpandDateMacros(block.GetStr(ArchiveName), m_context.StartTime);
    block.SetStr(ArchiveName, archiveName);
    m_archive = archiveFiles(archiveName);

    for (qsizetype i = 0; i < block.Dests.size(); ++i) {
        if (m_requests.stopRequested())
            return false;
        const QString folder = block.Dests.NameAt(i);
        if (folder.contains(u'?')) {
            quint8 status = StatusOk;
            PrepareEvenUneven(folder + platform::fileNamePart(archiveName), status);
            raise(block, status);
        }
    }

    if (m_requests.stopRequested())
        return false;
    if (!makeArchiveFolder(block))
        return true;

    m_addedFiles = 0;
    if (m_requests.stopRequested())
        return false;
    addTimed(sNameArch + u' ' + archiveName);
    TZipArchiver zip;
    if (!prepareSources(block, zip)) {
        recoverArchive(zip, archiveName);
        return true;
    }
    prepareExclusions(block, zip);
    if (m_requests.stopRequested() || !archive(block, zip))
        return false;

    if (m_requests.stopRequested())
        return false;
    m_view.showText(QString());
    if (!QFileInfo::exists(archiveName) || block.GetFlag(Status) == StatusFatal) {
        AddRep(sRes.at(StatusFatal));
        raise(block, StatusFatal);
        AddRep(report::Separator);
        return true;
    }

    if (!copyToDestinations(block))
        return false;
    if (m_requests.stopRequested())
        return false;
    copyAtPeriodEnd(block);
    if (!runCommands(block, block.CmdAfter))
        return false;
    AddRep(report::Separator);
    return true;
}

bool TRunEngine::runCommands(TBlock &block, TStringListMy &commands)
{
    const qsizetype count = commands.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (m_requests.stopRequested())
            return false;
        if (!IsDayInList(commands.ValueAt(i), runDay()))
            continue;
        const QString command = commands.NameAt(i);
        quint8 status = StatusOk;
        if (ExecCommand(command, status)) {
            raise(block, status);
            continue;
        }
        addTimed(sRunCommand);
        AddRep(command);
        if (!RunProgram(command, true, {m_requests.terminatedFlag(), m_requests.copyStopFlag()})) {
            AddRep(sRes.at(StatusError));
            raise(block, StatusError);
        }
    }
    return !m_requests.stopRequested();
}

bool TRunEngine::ExecCommand(const QString &line, quint8 &status)
{
    if (!BuiltInCommand::isBuiltIn(line))
        return false;
    status = StatusOk;
    m_view.Tag = 0;
    const std::optional<BuiltInCommand> command = BuiltInCommand::parse(line);
    if (!command) {
        addTimed(line);
        AddRep(sRes.at(StatusError));
        status = StatusError;
        return true;
    }

    bool done = false;
    switch (command->kind) {
    case BuiltInCommand::Kind::Copy:
        addTimed(sCopy + u' ' + command->source + u' ' + sIn + u' ' + command->target);
        done = CopyFiles(command->source, command->target, true, &m_view, fileScope());
        break;
    case BuiltInCommand::Kind::Move:
        addTimed(sRemove + u' ' + command->source + u' ' + sIn + u' ' + command->target);
        done = MoveFiles(command->source, command->target, true, &m_view, fileScope());
        break;
    case BuiltInCommand::Kind::Delete:
        addTimed(sDelete + u' ' + command->source);
        done = DeleteFiles(command->source, true, &m_view, fileScope());
        break;
    }
    if (done) {
        AddRep(sRes.at(StatusOk) + QStringLiteral(" (") + QString::number(m_view.Tag) + u')');
    } else {
        AddRep(sRes.at(StatusError));
        status = StatusError;
    }
    return true;
}

bool TRunEngine::ensureFolder(const QString &folder, quint8 &status, quint8 failureStatus)
{
    if (folder.isEmpty() || QFileInfo(folder).isDir())
        return true;
    addTimed(sCreateFolder + u' ' + folder);
    if (!QDir().mkpath(folder)) {
        AddRep(sCreateFolderError);
        status = std::max(status, failureStatus);
        return false;
    }
    AddRep(sRes.at(StatusOk));
    return true;
}

ArchiveFiles TRunEngine::archiveFiles(const QString &name) const
{
    return {name, {volumesOn() ? smSplitting : smNone, false, m_settings.CheckBoxSFX, false}};
}

void TRunEngine::PrepareEvenUneven(const QString &name, quint8 &status)
{
    const ArchiveFiles today = archiveFiles(withFirstReplaced(name, u'?', parityDigit(true)));
    const ArchiveFiles other = archiveFiles(withFirstReplaced(name, u'?', parityDigit(false)));

    // Calendar days, not hours: a daily run at a fixed time must be seen as
    // the run of the day before.
    const QDate todayFileDay = today.NewestDay();
    if (!todayFileDay.isValid() || todayFileDay >= runDay())
        return;
    const QDate otherFileDay = other.NewestDay();
    if (otherFileDay.isValid() && otherFileDay >= todayFileDay)
        return; // the days alternated as they should

    const bool even = runDay().day() % 2 == 0;
    AddRep(even ? sSecondEven : sSecondUneven);
    AddRep(even ? sSaveInUneven : sSaveInEven);

    if (m_settings.RadioButtonArcNew && otherFileDay.isValid()) {
        addTimed(sTryDelOldArch + u' ' + other.Shown());
        AddRep(other.Delete(fileScope()) ? sRes.at(StatusOk) : sNotFound);
    }
    if (!ensureFolder(platform::folderPart(today.Name()), status, StatusError)
        || !ensureFolder(platform::folderPart(other.Name()), status, StatusError))
        return;

    const bool move = m_settings.RadioButtonArcNew;
    addTimed((move ? sRemove : sCopy) + u' ' + today.Shown() + u' ' + sIn + u' ' + other.Shown());
    if (today.TransferTo(other.Name(), move, fileScope())) {
        AddRep(sRes.at(StatusOk));
    } else {
        AddRep(move ? sRemoveError : sCopyError);
        status = std::max<quint8>(status, StatusError);
    }
}

bool TRunEngine::makeArchiveFolder(TBlock &block)
{
    quint8 status = block.GetFlag(Status);
    if (ensureFolder(platform::folderPart(block.GetStr(ArchiveName)), status, StatusFatal))
        return true;
    AddRep(report::Separator);
    raise(block, StatusFatal);
    return false;
}
