#include "VorrinStart.h"

#include "platform/FileLock.h"
#include "platform/Prompter.h"
#include "platform/WindowMessages.h"
#include "scheduler/Scheduler.h"
#include "settings/VorrinStore.h"
#include "settings/widgets/JobFileOffer.h"
#include "settings/widgets/VorrinUnit.h"
#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"

namespace zentavo {

namespace {

const QString InstanceName = QStringLiteral("VorrinMap");

// Where no one could see the box, the prompter writes it to standard error.
void refuse(const QString &text, platform::PromptIcon icon)
{
    platform::prompter().message({sVorrinHeader, text, icon, platform::PromptButton::Ok, {}});
}

// No job file yet: the settings are shown while the user is asked whether to
// create one with the editor.
void offerEditor(TTrayForm &tray)
{
    TFormVorrin &dialog = tray.FormVorrin();
    dialog.setWindowTitle(sVorrinHeader);
    dialog.show();
    {
        platform::MessageWindow shownTitle;
        shownTitle.setCaption(sVorrinHeader);
        OfferJobFileEditor(sVorrinHeader, [&tray] { return tray.Scheduler().StartEditor(true); });
    }
    dialog.hide();
    tray.ReloadSettings();
    dialog.setWindowTitle(QString());
}

} // namespace

std::unique_ptr<TTrayForm> StartVorrin(int &exitCode)
{
    exitCode = 0;
    auto instance = std::make_unique<platform::InstanceLock>(InstanceName);
    switch (instance->state()) {
    case platform::FileLock::State::Held: break;
    case platform::FileLock::State::HeldElsewhere: refuse(sAlreadyRun, platform::PromptIcon::Warning); return nullptr;
    case platform::FileLock::State::Failed:
        refuse(sMemoryError + u'\n' + instance->errorString(), platform::PromptIcon::Error);
        exitCode = 1;
        return nullptr;
    }
    auto tray = std::make_unique<TTrayForm>(std::move(instance));
    tray->WatchNotificationArea();
    // The same notice as the main program's; the defaults are used meanwhile.
    if (const std::optional<QString> notice = SettingsDamageNotice())
        platform::prompter().message(
            {sVorrinHeader, *notice, platform::PromptIcon::Warning, platform::PromptButton::Ok, {}});
    if (tray->Scheduler().Settings().Controls.EditFJob.isEmpty())
        offerEditor(*tray);
    // Exit chosen while the start-up waited for the user: no run is started.
    if (!tray->Exiting())
        tray->Scheduler().StartupRun();
    return tray;
}

} // namespace zentavo
