#pragma once

#include "platform/Prompter.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class QAction;
class QListWidget;
class QPrinter;
class QToolBar;

namespace zentavo {

// The window that shows the report file or the scheduler's journal, finds
// text in it, clears it and prints it. The main program and the scheduler
// each keep one for their lifetime; the main window also fills its list
// with a copy of the run's report to print or mail it without showing it.
class TFormRep final : public QDialog {
    Q_OBJECT
public:
    enum class PrintSender { User, Timer };

    explicit TFormRep(QWidget *parent = nullptr);
    ~TFormRep() override;

    // Makes the viewer show a file: caption, file name, its lines, the tools
    // that need lines, a fresh find and Cleared reset. False, after
    // a message, when the file cannot be read; the viewer is then not to be
    // shown.
    bool LoadFile(const QString &caption, const QString &fileName);

    QStringList Lines() const;
    // Lines that are not a file's, such as the filtered copy of a run's report.
    void SetLines(const QStringList &lines);

    QString FileName() const { return m_fileName; }
    // The list was cleared since the file was loaded: closing then asks
    // whether to save the emptied file.
    bool Cleared() const { return m_cleared; }
    // The job file the printed header names; the main program sets it.
    void SetJobFileName(const QString &jobFileName) { m_jobFileName = jobFileName; }
    // The printer the report goes to: the default printer until the print
    // dialog or a caller changes it.
    QPrinter &Printer() { return *m_printer; }

    // Prints a header and every line. From the end-of-run timer there is no
    // print dialog and no message, the result tells. False when nothing was
    // printed: dialog cancelled, printer not opened or a page failed.
    bool BitBtnPrnClick(PrintSender sender = PrintSender::User);
    void BitBtnFindClick();
    void FindDialogFind();
    void BitBtnClearClick();
    // Closes the viewer; after Clear it first asks whether to save the
    // emptied file.
    void BitBtnExitClick();

    void done(int result) override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void EnableLineTools(bool hasLines);
    void SaveClearedFile();

    QToolBar *ToolBar = nullptr;
    QAction *TBPrint = nullptr;
    QAction *TBClear = nullptr;
    QAction *TBSearch = nullptr;
    QAction *TBSearchA = nullptr;
    QAction *TBClose = nullptr;
    QListWidget *ListBoxRep = nullptr;

    QString m_fileName;
    QString m_jobFileName;
    platform::FindRequest m_find;
    bool m_cleared = false;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace zentavo
