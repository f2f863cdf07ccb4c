#pragma once

#include "JobChecks.h"
#include "PageContext.h"

#include <QTabWidget>

namespace pelvo {

class ArchivePage;
class TFormSource;

// The page control that shows one job on its pages and writes every change
// back into the job at once.
class TJobPages final : public QTabWidget {
    Q_OBJECT
public:
    TJobPages(PageContext &context, TFormSource &sourceDialog, QWidget *parent = nullptr);

    // Shows the context's job (or none) on every page without marking a change.
    void ShowJob();
    void SetJobEnabled(bool enabled);
    // The user's own edits of the free-text fields since the last save.
    bool EditsModified() const;
    void ClearEditMarks();
    // Brings the control of the missing field to the front and returns the
    // field's caption.
    QString ShowMissing(MissingField field);
    // The first page with the archive name focused.
    void FocusArchiveName();

    ArchivePage *Archive = nullptr;

private:
    PageContext &m_context;
};

} // namespace pelvo
