#pragma once

#include "editor/JobChecks.h"
#include "editor/JobFileFormat.h"
#include "editor/widgets/PageContext.h"

#include <QTabWidget>

#include <array>

class QAction;
class QMenu;

namespace pelvo {

class ArchivePage;
class CommandsPage;
class CopiesPage;
class ExtCopiesPage;
class ListPage;
class TFormCopy;
class TFormSelCmd;
class TFormSource;

// The page control that shows one job on its four pages and writes every
// change back into the job at once.
class TJobPages final : public QTabWidget {
    Q_OBJECT
public:
    TJobPages(PageContext &context, TFormSource &sourceDialog, TFormSelCmd &kindDialog, TFormCopy &pathsDialog,
              QWidget *parent = nullptr);

    // Shows the context's job (or none) on every page without marking a change.
    void ShowJob();
    void SetJobEnabled(bool enabled);
    // The user's own edits of the free-text fields since the last save.
    bool EditsModified() const;
    void ClearEditMarks();
    // Brings the control of the missing field to the front and returns the
    // field's caption.
    QString ShowMissing(MissingField field);
    // Brings the place of a text to the front (its page and the line of its
    // list) and says where it is: "page "Copies", line 2"; empty for the
    // job's name, which no page shows.
    QString ShowPlace(JobPlace place, int line);
    // The first page with the archive name focused.
    void FocusArchiveName();
    // After the form is localised: captions that one language key drives
    // everywhere are copied from the control that has it.
    void TakeSharedCaptions();

    ArchivePage *Archive = nullptr;
    CopiesPage *Copies = nullptr;
    ExtCopiesPage *ExtCopies = nullptr;
    CommandsPage *Commands = nullptr;
    // The popup of the three list pages; it acts on the page shown.
    QMenu *PopupMenuListDest = nullptr;
    QAction *PopupDestAdd = nullptr;
    QAction *PopupDestDel = nullptr;

private:
    ListPage *listPageShown() const;
    std::array<ListPage *, 3> listPages() const;

    PageContext &m_context;
};

} // namespace pelvo
