#include "DialogRunner.h"

#include "platform/InstalledService.h"

#include <QDialog>

namespace platform {

namespace {

class ExecRunner final : public DialogRunner {
public:
    int run(QDialog &dialog) override { return dialog.exec(); }
};

using Installed = InstalledService<DialogRunner, ExecRunner>;

} // namespace

DialogRunner &dialogRunner()
{
    return Installed::current();
}

void setDialogRunner(std::unique_ptr<DialogRunner> runner)
{
    Installed::install(std::move(runner));
}

int runDialog(QDialog &dialog)
{
    return dialogRunner().run(dialog);
}

} // namespace platform
