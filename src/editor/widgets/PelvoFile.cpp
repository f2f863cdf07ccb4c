// The editor window's file commands: new, open, save, save as, Ok and close
// with its save and default questions.
#include "editor/widgets/Pelvo.h"

#include "editor/PageTexts.h"
#include "editor/widgets/JobPages.h"
#include "help/widgets/ProgramHelp.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "settings/VorrinStore.h"
#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"

#include <QCloseEvent>
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
    request.folder = PickerStart(current);
    request.fileName = current == NoNameDat ? QString() : platform::fileNamePart(current);
    request.filter = zentavo::JobFileFilter();
    request.defaultSuffix = QStringLiteral("dat");
    return request;
}

} // namespace

TFormEditor::SaveResult TFormEditor::SaveFDat()
{
    if (m_document.empty())
        return SaveResult::Saved;
    if (!allJobsComplete())
        return SaveResult::Refused;
    return writeJobs();
}

TFormEditor::SaveResult TFormEditor::writeJobs()
{
    if (const std::optional<SaveRefusal> refusal = m_document.saveRefusal()) {
        showRefusal(*refusal);
        return SaveResult::Refused;
    }
    const QString error = m_document.save();
    if (!error.isEmpty()) {
        ask(zentavo::sWriteError + u' ' + m_document.fileName() + u'\n' + error, PromptIcon::Error);
        return SaveResult::Failed;
    }
    m_pages->ClearEditMarks();
    return SaveResult::Saved;
}

TFormEditor::SaveResult TFormEditor::saveUnderNewName()
{
    for (;;) {
        const std::optional<QString> chosen
            = platform::prompter().fileName(jobFileRequest(platform::FileRequest::Mode::Save, m_document.fileName()));
        if (!chosen)
            return SaveResult::Cancelled;
        if (QFileInfo::exists(*chosen)) {
            const PromptButton answer = ask(
                zentavo::sJobFile + u' ' + *chosen + u' ' + zentavo::sAlreadyExists + u'\n' + zentavo::sQuestionRewrite,
                PromptIcon::Question, PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
            if (answer == PromptButton::No)
                continue;
            if (answer != PromptButton::Yes)
                return SaveResult::Cancelled;
        }
        m_document.setFileName(*chosen);
        setCaptionFromFile();
        return SaveFDat();
    }
}

bool TFormEditor::saveChangesFirst()
{
    if (!JobsModified() || m_document.empty())
        return true;
    const PromptButton answer = ask(zentavo::sQuestionSave + u'\n' + m_document.fileName(), PromptIcon::Question,
                                    PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
    if (answer == PromptButton::No)
        return true;
    if (answer != PromptButton::Yes)
        return false;
    // A new file gets its name from the user, not "NoName.dat" in whatever folder is current.
    if (m_document.unnamed())
        return allJobsComplete() && saveUnderNewName() == SaveResult::Saved;
    return SaveFDat() == SaveResult::Saved;
}

void TFormEditor::FNewClick()
{
    if (!saveChangesFirst())
        return;
    m_document.reset(NoNameDat);
    ClearJobs();
    DisableForm();
    setCaptionFromFile();
    showStatus();
    ENewClick();
}

void TFormEditor::OpenDatFile()
{
    if (!saveChangesFirst())
        return;
    if (m_document.empty())
        DisableForm();
    const std::optional<QString> chosen
        = platform::prompter().fileName(jobFileRequest(platform::FileRequest::Mode::Open, m_document.fileName()));
    if (!chosen)
        return;
    m_document.setFileName(*chosen);
    if (!ReadFDat()) {
        ask(zentavo::sReadError + u' ' + *chosen, PromptIcon::Error);
        DisableForm();
        return;
    }
    EnableForm();
}

void TFormEditor::FSaveClick()
{
    if (m_document.unnamed())
        FSaveAssClick();
    else
        SaveFDat();
}

void TFormEditor::FSaveAssClick()
{
    if (!m_document.currentBlock() || !allJobsComplete())
        return;
    saveUnderNewName();
}

void TFormEditor::ButtonOkClick()
{
    const QString &fileName = m_document.fileName();
    const bool named = !fileName.isEmpty() && !m_document.unnamed();
    if (named && m_document.empty() && JobsModified()) {
        // Every job was deleted: saving that empties the file, which the user confirms first.
        const PromptButton answer
            = ask(QStringLiteral("No job is left in %1.\nSave the file without jobs?").arg(fileName),
                  PromptIcon::Question, PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
        if (answer == PromptButton::Cancel || (answer == PromptButton::Yes && writeJobs() != SaveResult::Saved))
            return;
    } else if (named && SaveFDat() != SaveResult::Saved) {
        return;
    }
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
    const QString &fileName = m_document.fileName();
    if (JobsModified() && !m_document.empty()) {
        answer = ask(zentavo::sQuestionSave + u'\n' + fileName, PromptIcon::Question,
                     PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
        if (answer == PromptButton::Cancel)
            return false;
        if (answer == PromptButton::Yes) {
            const SaveResult saved
                = m_document.unnamed() ? (allJobsComplete() ? saveUnderNewName() : SaveResult::Refused) : SaveFDat();
            if (saved != SaveResult::Saved)
                return false;
        }
    }
    if (answer != PromptButton::No && !m_haveDefaultDat && !m_document.unnamed() && QFileInfo::exists(fileName))
        return askDefault();
    return true;
}

bool TFormEditor::askDefault()
{
    const PromptButton answer = platform::prompter().message(
        {sEditorHeader, zentavo::sQuestionSetDef, PromptIcon::Question, PromptButton::Yes | PromptButton::No,
         [] { help::ShowHelpTopic(QStringLiteral("CreateJob")); }});
    if (answer != PromptButton::Yes)
        return true;
    const QString path = QFileInfo(m_document.fileName()).absoluteFilePath();
    if (!zentavo::WriteDefaultDat(path)) {
        ask(zentavo::sWriteError + QStringLiteral(" DefaultDat: ") + zentavo::MainKeyPath(), PromptIcon::Error);
        return false;
    }
    zentavo::PostVorrinUpdate(1);
    return true;
}

} // namespace pelvo
