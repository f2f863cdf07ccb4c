#pragma once

#include "editor/EditorDocument.h"
#include "editor/JobChecks.h"
#include "editor/widgets/PageContext.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPrinter;
class QPushButton;

namespace pelvo {

class TFormCopy;
class TFormSelCmd;
class TFormSource;
class TJobPages;

// The job-file editor's window: one job file, its jobs walked through with
// the job selector and edited on the pages, the file and job commands, and
// the question whether the file becomes the default one.
class TFormEditor final : public QMainWindow {
    Q_OBJECT
public:
    // haveDefaultDat: a default job file is configured, so closing does not
    // offer to make this one the default.
    explicit TFormEditor(bool haveDefaultDat);
    ~TFormEditor() override;

    // Reads the job file; False when it cannot be read or holds no job.
    bool ReadFDat();

    void FNewClick();
    void OpenDatFile();
    void FSaveClick();
    void FSaveAssClick();
    void ButtonOkClick();
    void ENewClick();
    void ECopyClick();
    void EPasteClick();
    void EDelClick();
    void ERenClick();
    void PrevBlock();
    void NextBlock();
    void HDocClick();
    void HAboutClick();
    // Prints the description of the jobs as they stand in the window.
    void TBFPrintClick();
    // Leaves the job shown, after checking it is complete when check is set,
    // and shows the job selected. False when the job left is incomplete.
    bool CBNameChange(bool check);
    void EnableForm();
    void DisableForm();

    // The jobs differ from the file (the text fields' own marks folded in).
    bool JobsModified();
    const EditorDocument &Document() const { return m_document; }
    int CurBlock() const { return m_document.current(); }
    const TBlocks &Blocks() const { return m_document.blocks(); }
    // The job file being edited; "NoName.dat" before a new file is saved.
    const QString &DatFileName() const { return m_document.fileName(); }
    void SetDatFileName(const QString &fileName) { m_document.setFileName(fileName); }
    QString StatusText() const;
    TJobPages &Pages() { return *m_pages; }
    TFormSource &FormSource() { return *m_formSource; }
    TFormSelCmd &FormSelCmd() { return *m_formSelCmd; }
    TFormCopy &FormCopy() { return *m_formCopy; }
    QPrinter &JobPrinter() { return *m_jobPrinter; }

    QComboBox *ComboBoxName = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;
    QAction *FNew = nullptr;
    QAction *FOpen = nullptr;
    QAction *FSave = nullptr;
    QAction *FSaveAss = nullptr;
    QAction *FPrint = nullptr;
    QAction *FExit = nullptr;
    QAction *ENew = nullptr;
    QAction *ECopy = nullptr;
    QAction *EPaste = nullptr;
    QAction *EDel = nullptr;
    QAction *ERen = nullptr;
    QAction *HDoc = nullptr;
    QAction *HPrompt = nullptr;
    QAction *HAbout = nullptr;
    QAction *TBPrev = nullptr;
    QAction *TBNext = nullptr;
    QAction *PopupNameNew = nullptr;
    QAction *PopupNameCopy = nullptr;
    QAction *PopupNamePaste = nullptr;
    QAction *PopupNameDel = nullptr;
    QAction *PopupNameRen = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class SaveResult { Saved, Refused, Failed, Cancelled };

    void FormCreate();
    void createMenus();
    void createControls();
    // Empties the job controls.
    void ClearJobs();
    // The job selector lists the document's jobs and selects the one shown.
    void showJobNames();
    void showStatus();
    void updateNavigation();
    // Leaves the job shown as CBNameChange does and shows the job at index.
    bool selectJob(int index, bool check);
    // Shows the completeness message for the job at index and stays on it.
    void showIncomplete(int index, MissingField field);
    // Shows the place of a text that keeps the jobs from being saved, and why.
    void showRefusal(const SaveRefusal &refusal);
    // Shows the job at index without checking the job left.
    void showJobAt(int index);
    // Every job complete; else the first incomplete one is shown with its message.
    bool allJobsComplete();
    // Writes the jobs when there are any, all of them complete.
    SaveResult SaveFDat();
    // Writes the jobs as they stand, none at all included.
    SaveResult writeJobs();
    // The save dialog until a name is chosen and written, or it is cancelled.
    SaveResult saveUnderNewName();
    // The save question before the jobs are replaced; False to stop.
    bool saveChangesFirst();
    // Closing: the save question and, for a saved file, the default question.
    bool FormCloseQuery();
    bool askDefault();
    QString askJobName(QAction *command, const QString &current);
    void setCaptionFromFile();

    EditorDocument m_document;
    bool m_haveDefaultDat = false;
    PageContext m_context;

    std::unique_ptr<TFormSource> m_formSource;
    std::unique_ptr<TFormSelCmd> m_formSelCmd;
    std::unique_ptr<TFormCopy> m_formCopy;
    std::unique_ptr<QPrinter> m_jobPrinter;
    TJobPages *m_pages = nullptr;
    QLabel *LabelJob = nullptr;
    QLabel *m_status = nullptr;
    QMenu *FileMenu = nullptr;
    QMenu *EditMenu = nullptr;
    QMenu *HelpMenu = nullptr;
};

} // namespace pelvo
