#pragma once

#include <memory>

class QDialog;

namespace platform {

// Shows the programs' own modal dialogs (the start dialog, the settings and
// time dialogs, the editor's dialogs). Tests install a runner that plays the
// user's part on the dialog, fully built and loaded, instead of showing it,
// so no test waits on a timer to press a button.
class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    // The dialog's result: QDialog::Accepted or QDialog::Rejected.
    virtual int run(QDialog &dialog) = 0;
};

// The runner in use: QDialog::exec until a test installs another.
DialogRunner &dialogRunner();
// Installs a runner; nullptr goes back to exec.
void setDialogRunner(std::unique_ptr<DialogRunner> runner);

// dialogRunner().run(dialog).
int runDialog(QDialog &dialog);

} // namespace platform
