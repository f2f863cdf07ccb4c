#include "DialogRunner.h"

#include <QDialog>

namespace platform {

namespace {

class ExecRunner final : public DialogRunner {
public:
    int run(QDialog &dialog) override { return dialog.exec(); }
};

std::unique_ptr<DialogRunner> &installed()
{
    static std::unique_ptr<DialogRunner> runner;
    return runner;
}

} // namespace

DialogRunner &dialogRunner()
{
    static ExecRunner exec;
    DialogRunner *runner = installed().get();
    return runner ? *runner : exec;
}

void setDialogRunner(std::unique_ptr<DialogRunner> runner)
{
    installed() = std::move(runner);
}

int runDialog(QDialog &dialog)
{
    return dialogRunner().run(dialog);
}

} // namespace platform
