#include "VorrinStart.h"

#include "ConstStr.h"
#include "FileLock.h"
#include "ProgramHelp.h"
#include "Prompter.h"
#include "Scheduler.h"
#include "SuiteMessages.h"
#include "VorrinStore.h"
#include "VorrinUnit.h"
#include "WindowMessages.h"

#include <QLineEdit>

#include <cstdio>

namespace zentavo {

namespace {

const QString InstanceName = QStringLiteral("VorrinMap");

void refuse(const QString &text, platform::PromptIcon icon)
{
    // Also where no one sees the box: a start from a session script.
    std::fprintf(stderr, "%s\n", qPrintable(text));
    platform::prompter().message({sVorrinHeader, text, icon, platform::PromptButton::Ok, {}});
}

// No job file yet: the settings are shown while the user is asked whether to
// create one with the editor, which is then waited for.
void offerEditor(TTrayForm &tray)
{
    TFormVorrin &dialog = tray.FormVorrin();
    dialog.setWindowTitle(sVorrinHeader);
    dialog.show();
    {
        platform::MessageWindow shownTitle;
        shownTitle.setCaption(sVorrinHeader);
        const platform::PromptButton answer = platform::prompter().message(
            {sVorrinHeader, sRunEditor1 + u'\r' + sRunEditor2, platform::PromptIcon::Information,
             platform::PromptButton::Yes | platform::PromptButton::No,
             [] { help::ShowHelpTopic(QStringLiteral("CreateJob")); }});
        if (answer == platform::PromptButton::Yes)
            tray.Scheduler().StartEditor(true);
    }
    dialog.hide();
    dialog.FormCreate(nullptr);
    dialog.setWindowTitle(QString());
}

} // namespace

std::unique_ptr<TTrayForm> StartVorrin(int &exitCode)
{
    exitCode = 0;
    auto instance = std::make_unique<platform::InstanceLock>(InstanceName);
    switch (instance->state()) {
    case platform::FileLock::State::Held:
        break;
    case platform::FileLock::State::HeldElsewhere:
        refuse(sAlreadyRun, platform::PromptIcon::Warning);
        return nullptr;
    case platform::FileLock::State::Failed:
        refuse(sMemoryError, platform::PromptIcon::Error);
        exitCode = 1;
        return nullptr;
    }
    auto tray = std::make_unique<TTrayForm>(std::move(instance));
    if (tray->FormVorrin().EditFJob->text().isEmpty())
        offerEditor(*tray);
    tray->Scheduler().StartupRun();
    return tray;
}

} // namespace zentavo
