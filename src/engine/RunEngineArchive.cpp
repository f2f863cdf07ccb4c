// The archiving step of a job and the copies of its archive to the
// destinations of the day.
#include "engine/RunEngine.h"

#include "engine/MaskedFiles.h"
#include "engine/RunRequests.h"
#include "engine/RunView.h"
#include "platform/FileNames.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/Wildcard.h"
#include "report/ReportLines.h"
#include "settings/VorrinControls.h"
#include "shared/Common.h"
#include "shared/ConstStr.h"
#include "zip/ZAExcept.h"
#include "zip/ZipArchiver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cmath>

using namespace zentavo;

namespace {

constexpr std::array compressionLevels{clNone, clFastest, clNormal, clMax};
// The preset volume sizes in the order of the settings dialog's list.
constexpr std::array presetVolumeSizes{vsAutoDetect, vs1_44MB, vs100MB, vs250MB, vs200MB,
                                       vs600MB,      vs650MB,  vs700MB, vs4700MB};
static_assert(presetVolumeSizes.size() == VolumeItems - 1, "every volume item but None has its size");

// True when a file or folder matches the source (a path or a mask).
bool sourceExists(const QString &source)
{
    return !entriesMatching(source, true).isEmpty();
}

QString shortFileLabel(const QString &fileName)
{
    return fileName.size() <= 60 ? fileName : fileName.right(50);
}

QString withoutDoubledSeparators(QString path)
{
    const QString doubled(2, platform::separator());
    while (path.contains(doubled))
        path.replace(doubled, QString(platform::separator()));
    return path;
}

int rounded(double percent)
{
    return int(std::lround(percent));
}

// How long an automatic run waits for someone to answer the archiver's
// question before it takes the safe answer itself.
constexpr int UnattendedAnswerMs = 60000;

} // namespace

bool TRunEngine::prepareSources(TBlock &block, TZipArchiver &zip)
{
    // Every source is stored below the folder they share.
    const QString baseDir = platform::commonFolder(block.Sources);
    zip.BaseDir = baseDir;
    zip.FileMasks.clear();
    for (QString &source : block.Sources) {
        if (QFileInfo(source).isDir()) {
            source = platform::withTrailingSeparator(source) + QStringLiteral("*.*");
        } else if (!sourceExists(source) || (!baseDir.isEmpty() && !QFileInfo(baseDir).isDir())) {
            addTimed(sSourceNotFount + QStringLiteral(" (") + source + u')');
            raise(block, StatusFatal);
            continue;
        }
        addTimed(sArchive + u' ' + source);
        zip.FileMasks << source.mid(baseDir.size());
    }
    if (zip.FileMasks.isEmpty()) {
        AddRep(report::Separator);
        raise(block, StatusFatal);
        return false;
    }
    return true;
}

void TRunEngine::prepareExclusions(const TBlock &block, TZipArchiver &zip)
{
    zip.ExclusionMasks.clear();
    QStringList shown;
    for (qsizetype i = 0; i < block.Exclusions.size(); ++i) {
        const QString &line = block.Exclusions.at(i);
        if (line.isEmpty())
            continue;
        shown << QString(line).replace(u'|', QStringLiteral(",   "));
        // A mask with a folder is taken from the folder of its own source.
        const QString sourceFolder = platform::folderPart(block.Sources.value(i).mid(zip.BaseDir.size()));
        for (const QString &mask : line.split(u'|', Qt::SkipEmptyParts)) {
            if (platform::hasFolderPart(mask) && !mask.contains(zip.BaseDir, platform::fileNameCase()))
                zip.ExclusionMasks << withoutDoubledSeparators(zip.BaseDir + sourceFolder + mask);
            else
                zip.ExclusionMasks << mask;
        }
    }
    if (!shown.isEmpty())
        AddRep(u'(' + sListExclude + u' ' + shown.join(QString()) + u')');
}

void TRunEngine::setUpArchiver(TZipArchiver &zip, const QString &archiveName)
{
    zip.Options.SearchAttr = m_settings.CheckBoxEmptyFolders ? 0x28BF : 0x28AF;
    zip.Options.Recurse = m_settings.CheckBoxRecurse;
    zip.Options.StorePath = !m_settings.CheckBoxInfoPath ? spNoPath
        : m_settings.RadioButtonRPath                    ? spRelativePath
        : m_settings.CheckBoxWithDrive                   ? spFullPathWithDrive
                                                         : spFullPath;
    zip.Options.OEMFileNames = m_settings.RadioButtonOEM;
    zip.Options.OverwriteMode = omIfNewer;
    zip.Options.FlushBuffers = true;
    zip.FileName = archiveName;
    zip.Zip64Mode = zmAuto;

    const int volume = m_settings.ComboBoxVol;
    if (volume == 0 || volume < -int(presetVolumeSizes.size())) {
        zip.SetSpanningMode(smNone);
    } else {
        zip.SetSpanningMode(smSplitting);
        zip.SpanningOptions.AdvancedNaming = false;
        zip.SpanningOptions.FirstVolumeSize = 0;
        if (volume > 0) {
            zip.SpanningOptions.VolumeSize = vsCustom;
            zip.SpanningOptions.SetCustomVolumeSize(qint64(volume) * 1024);
        } else {
            zip.SpanningOptions.VolumeSize = presetVolumeSizes.at(std::size_t(-volume - 1));
        }
    }
    zip.SetCompressionLevel(compressionLevels.at(std::size_t(std::clamp(m_settings.ComboBoxComp, 0, 3))));
    zip.RepairDirectoryOnOpen = true;
    zip.SFXStub
        = m_settings.CheckBoxSFX ? QDir(m_settings.ProgramFolder).filePath(QStringLiteral("SFXStub.exe")) : QString();
    zip.TempDir = m_tempFolder;
    // A new archive every run replaces the old one only once it is whole.
    zip.CreateAnew = m_settings.RadioButtonArcNew;

    // The archiver's events run on this thread, inside its calls. Only what
    // changes on the screen is sent to the window.
    m_progressGate.Reset();
    const auto showDueLabel = [this] {
        if (const std::optional<QString> label = m_progressGate.DueLabel())
            m_view.showText(*label);
    };
    zip.OnFileProgress = [this, showDueLabel](TZABaseArchiver &, const QString &fileName, double progress,
                                              TZAProcessOperation operation, TZAProgressPhase phase, bool &cancel) {
        cancel = cancel || archiveStopping();
        if (operation != poAdd && operation != poUpdate)
            return;
        if (phase == ppStart)
            m_progressGate.OfferLabel(shortFileLabel(fileName));
        else if (phase == ppEnd)
            m_addedFiles += fileName.endsWith(u'/') ? 0 : 1; // files only: a folder's path ends with "/"
        else if (m_progressGate.FilePercent(rounded(progress)))
            m_view.setFileGauge(rounded(progress));
        showDueLabel();
    };
    zip.OnOverallProgress
        = [this](TZABaseArchiver &, double progress, TZAProcessOperation, TZAProgressPhase, bool &cancel) {
              cancel = cancel || archiveStopping();
              if (m_progressGate.OverallPercent(rounded(progress)))
                  m_view.showArchiveProgress(rounded(progress), m_blocks[std::size_t(m_blockIndex)].GetStr(Title));
          };
    zip.OnCopyTempFileProgress = [this, showDueLabel](TZABaseArchiver &, double progress, TZAProgressPhase, bool &) {
        m_progressGate.OfferLabel(sCopyTempFile);
        showDueLabel();
        if (m_progressGate.FilePercent(rounded(progress)))
            m_view.setFileGauge(rounded(progress));
    };
    zip.OnConfirmProcessFile = [this](TZABaseArchiver &, const QString &fileName, TZAProcessOperation, bool &) {
        if (!fileName.endsWith(u'/'))
            ++m_foundFiles;
    };
    zip.OnProcessFileFailure = [this](TZABaseArchiver &, const QString &fileName, TZAProcessOperation, int,
                                      int errorCode, const QString &errorMessage, TZAAction &action) {
        if (m_requests.ArchiveCancel() || !m_unanswered.isEmpty()) {
            action = fxaAbort;
            return;
        }
        reportFileFailure(fileName, errorCode, errorMessage);
    };
    zip.OnDiskFull = [this](TZABaseArchiver &, int, const QString &, bool &cancel) {
        cancel = m_requests.ArchiveCancel() || !m_unanswered.isEmpty();
        if (cancel)
            return;
        platform::MessageRequest request{QCoreApplication::applicationName(),
                                         sInsertNextDisk,
                                         platform::PromptIcon::Information,
                                         platform::PromptButton::Ok | platform::PromptButton::Cancel,
                                         {}};
        // Nobody may be at the window of an automatic run: the job gives up
        // after a while instead of holding the run (and its scheduler).
        if (m_requests.AutoRun())
            request.timeoutMs = UnattendedAnswerMs;
        const platform::PromptButton answer = platform::prompter().message(request);
        if (answer == platform::PromptButton::None) {
            m_unanswered = sInsertNextDisk;
            cancel = true;
        } else if (answer == platform::PromptButton::Cancel) {
            m_requests.cancelArchive();
            cancel = true;
        }
    };
}

// A job that makes no archive (its sources are gone) still puts right what
// a killed run of it left half done, so that a whole archive is there to
// restore. It has failed already; an archive another run holds is put right
// by that run.
void TRunEngine::recoverArchive(TZipArchiver &zip, const QString &archiveName)
{
    setUpArchiver(zip, archiveName);
    try {
        zip.RecoverArchive();
    } catch (const EZAException &) {
    }
}

void TRunEngine::reportFileFailure(const QString &fileName, int errorCode, const QString &errorMessage)
{
    // The preset answer leaves the file out of the archive, so it is always
    // a line of the report, and one that says which file. A file that could
    // not be opened or changed while it was read costs the job that file
    // only; what the search passed over on purpose costs nothing.
    // A report line holds no line break of its own (one message has one).
    QString message = errorMessage;
    message.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ');
    const QString shown = platform::readableFileName(fileName);
    addTimed(shown.isEmpty() || message.contains(shown) ? message : message + QStringLiteral(" (") + shown + u')');
    if (errorCode == zaconst::ecEntryPassedOver)
        return;
    const bool fileLeftOut = errorCode == zaconst::ecCannotOpenFile || errorCode == zaconst::ecInvalidCompressedSize;
    raise(m_blocks[std::size_t(m_blockIndex)], fileLeftOut ? StatusError : StatusFatal);
}

bool TRunEngine::archiveStopping() const
{
    return m_requests.ArchiveCancel() || !m_unanswered.isEmpty() || m_requests.stopRequested();
}

// A rebuilt directory is worth a line: the archive was damaged, and files
// whose entries were incomplete are archived again by this run.
void TRunEngine::reportRepair(TBlock &block, const TZipArchiver &zip)
{
    const TZADirManager *directory = zip.DirManager();
    if (!directory || !directory->Repaired)
        return;
    addTimed(sArchiveRepaired + u' ' + QString::number(directory->DroppedEntries));
    raise(block, StatusError);
}

bool TRunEngine::archive(TBlock &block, TZipArchiver &zip)
{
    const QString archiveName = block.GetStr(ArchiveName);
    m_view.showText(sCreateFileList);
    setUpArchiver(zip, archiveName);

    QString failure;
    m_unanswered.clear();
    m_foundFiles = 0;
    const auto statusBefore = block.GetFlag(Status);
    // Only an archive that was there can be said to have gone.
    const bool replacesOld = m_settings.RadioButtonArcNew && !m_archive.OnDisk().isEmpty();
    try {
        zip.OpenArchive();
        reportRepair(block, zip);
        if (!block.GetStr(Comment).isEmpty())
            zip.SetComment(block.GetStr(Comment));
        zip.BeginUpdate();
        zip.AddFiles();
        zip.EndUpdate();
        zip.CloseArchive();
    } catch (const EZAException &error) {
        failure = error.Message();
    } catch (const std::exception &error) {
        failure = QString::fromLocal8Bit(error.what());
    }
    // An unanswered question cancels the commit, which then ends quietly.
    if (!m_unanswered.isEmpty()) {
        addTimed(sNoAnswer + u' ' + m_unanswered);
        raise(block, StatusFatal);
    } else if (failure.isNull()) {
        if (m_requests.stopRequested())
            return false;
        // Files left out on the way are the step's own result.
        const int status = block.GetFlag(Status) > statusBefore ? int(block.GetFlag(Status)) : int(StatusOk);
        AddRep(sRes.at(std::size_t(status)) + QStringLiteral(" (") + sAddFiles + u' ' + QString::number(m_addedFiles)
               + u')');
        // An archive of nothing replaces good copies just the same: an
        // empty or unmounted source must not pass unseen.
        if (m_foundFiles == 0)
            addTimed(sNoFileAdded);
        // The old archive went when the new one took its place; one that
        // could not be made leaves the old one there.
        if (replacesOld) {
            addTimed(sTryDelOldArch + u' ' + m_archive.Shown());
            AddRep(sRes.at(StatusOk));
        }
    } else {
        addTimed(m_requests.ArchiveCancel() ? sUserCanceled : sArchiveError + QStringLiteral(" (") + failure + u')');
        raise(block, StatusFatal);
        try {
            zip.ResetUpdate();
            zip.CloseArchive();
        } catch (const std::exception &) {
            // The archive is abandoned either way; its failure is reported above.
        }
    }
    m_view.showText(QString());
    return true;
}

bool TRunEngine::copyToDestinations(TBlock &block)
{
    for (qsizetype i = 0; i < block.Dests.size(); ++i) {
        if (m_requests.stopRequested())
            return false;
        block.Dests[i] = ExpandDateMacros(block.Dests.at(i), m_context.StartTime);
        if (!IsDayInList(block.Dests.ValueAt(i), runDay()))
            continue;
        QString destination = block.Dests.NameAt(i);
        if (destination.contains(u'?')) {
            destination.replace(destination.indexOf(u'?'), 1, parityDigit(true));
            block.Dests[i] = destination;
        }
        addTimed(sCopy + u' ' + m_archive.Shown() + u' ' + sIn + u' ' + destination);
        if (m_archive.CopyTo(destination, fileScope())) {
            AddRep(sRes.at(StatusOk));
        } else {
            if (m_requests.Terminated())
                return false;
            AddRep(sRes.at(StatusError));
            raise(block, StatusError);
        }
    }
    return true;
}
