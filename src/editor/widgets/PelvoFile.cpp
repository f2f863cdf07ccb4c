// The editor window's file commands: new, open, save, save as, Ok and close
// with its save and default questions.
#include "Pelvo.h"

#include "ConstStr.h"
#include "JobPages.h"
#include "Paths.h"
#include "ProgramHelp.h"
#include "Prompter.h"
#include "SuiteMessages.h"
#include "VorrinStore.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>

namespace pelvo {

using zentavo::sEditorHeader;
using platform::PromptButton;
using platform::PromptIcon;

namespace {

PromptButton ask(const QString &text, PromptIcon icon, platform::PromptButtons buttons = PromptButton::Ok)
{
    return platform::prompter().message({sEditorHeader, text, icon, buttons, {}});
}

platform::FileRequest jobFileRequest(platform::FileRequest::Mode mode, const QString &current)
{
    platform::FileRequest request;
    request.mode = mode;
    request.folder = platform::folderPart(current);
    request.fileName = current == NoNameDat ? QString() : platform::fileNamePart(current);
    request.filter = zentavo::JobFileFilter();
    request.defaultSuffix = QStringLiteral("dat");
    return request;
}

} // namespace

TFormEditor::SaveResult TFormEditor::SaveFDat()
{
    if (m_blocks.empty())
        return SaveResult::Saved;
    if (!allJobsComplete())
        return SaveResult::Refused;
    JobList jobs{jobNames(), m_blocks};
    const QString error = SaveJobFile(m_datFileName, jobs);
    if (!error.isEmpty()) {
        ask(zentavo::sWriteError + u' ' + m_datFileName + u'\n' + error, PromptIcon::Error);
        return SaveResult::Failed;
    }
    m_jobsModified = false;
    m_pages->ClearEditMarks();
    return SaveResult::Saved;
}

TFormEditor::SaveResult TFormEditor::saveUnderNewName()
{
    for (;;) {
        const std::optional<QString> chosen
            = platform::prompter().fileName(jobFileRequest(platform::FileRequest::Mode::Save, m_datFileName));
        if (!chosen)
            return SaveResult::Cancelled;
        if (QFileInfo::exists(*chosen)) {
            const PromptButton answer
                = ask(zentavo::sJobFile + u' ' + *chosen + u' ' + zentavo::sAlreadyExists + u'\n' + zentavo::sQuestionRewrite,
                      PromptIcon::Question, PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
            if (answer == PromptButton::No)
                continue;
            if (answer != PromptButton::Yes)
                return SaveResult::Cancelled;
        }
        m_datFileName = *chosen;
        setCaptionFromFile();
        return SaveFDat();
    }
}

bool TFormEditor::saveChangesFirst()
{
    if (!JobsModified() || m_blocks.empty())
        return true;
    const PromptButton answer = ask(zentavo::sQuestionSave + u'\n' + m_datFileName, PromptIcon::Question,
                                    PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
    if (answer == PromptButton::No)
        return true;
    if (answer != PromptButton::Yes)
        return false;
    // A new file gets its name from the user, not "NoName.dat" in whatever folder is current.
    if (m_datFileName == NoNameDat)
        return allJobsComplete() && saveUnderNewName() == SaveResult::Saved;
    return SaveFDat() == SaveResult::Saved;
}

void TFormEditor::FNewClick()
{
    if (!saveChangesFirst())
        return;
    ClearJobs();
    DisableForm();
    m_datFileName = NoNameDat;
    setCaptionFromFile();
    m_jobsModified = false;
    showStatus();
    ENewClick();
}

void TFormEditor::OpenDatFile()
{
    if (!saveChangesFirst())
        return;
    if (ComboBoxName->count() == 0)
        DisableForm();
    const std::optional<QString> chosen = platform::prompter().fileName(jobFileRequest(platform::FileRequest::Mode::Open, m_datFileName));
    if (!chosen)
        return;
    m_datFileName = *chosen;
    if (!ReadFDat()) {
        ask(zentavo::sReadError + u' ' + *chosen, PromptIcon::Error);
        DisableForm();
        return;
    }
    EnableForm();
}

void TFormEditor::FSaveClick()
{
    if (m_datFileName == NoNameDat)
        FSaveAssClick();
    else
        SaveFDat();
}

void TFormEditor::FSaveAssClick()
{
    if (!currentBlock() || !allJobsComplete())
        return;
    saveUnderNewName();
}

void TFormEditor::ButtonOkClick()
{
    if (!m_datFileName.isEmpty() && m_datFileName != NoNameDat && SaveFDat() != SaveResult::Saved)
        return;
    close();
}

void TFormEditor::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TFormEditor::FormCloseQuery()
{
    PromptButton answer = PromptButton::Yes;
    if (JobsModified() && !m_blocks.empty()) {
        answer = ask(zentavo::sQuestionSave + u'\n' + m_datFileName, PromptIcon::Question,
                     PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
        if (answer == PromptButton::Cancel)
            return false;
        if (answer == PromptButton::Yes) {
            const SaveResult saved = m_datFileName == NoNameDat
                ? (allJobsComplete() ? saveUnderNewName() : SaveResult::Refused)
                : SaveFDat();
            if (saved != SaveResult::Saved)
                return false;
        }
    }
    if (answer != PromptButton::No && !m_haveDefaultDat && m_datFileName != NoNameDat && QFileInfo::exists(m_datFileName))
        return askDefault();
    return true;
}

bool TFormEditor::askDefault()
{
    const PromptButton answer
        = platform::prompter().message({sEditorHeader, zentavo::sQuestionSetDef, PromptIcon::Question,
                                        PromptButton::Yes | PromptButton::No,
                                        [] { help::ShowHelpTopic(QStringLiteral("CreateJob")); }});
    if (answer != PromptButton::Yes)
        return true;
    const QString path = QFileInfo(m_datFileName).absoluteFilePath();
    if (!zentavo::WriteDefaultDat(path)) {
        ask(zentavo::sWriteError + QStringLiteral(" DefaultDat: ") + zentavo::MainKeyPath(), PromptIcon::Error);
        return false;
    }
    zentavo::PostVorrinUpdate(1);
    return true;
}

} // namespace pelvo
