#include "ZentavoStart.h"

#include "engine/CommandLineSwitches.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/widgets/WindowPlacement.h"
#include "settings/VorrinStore.h"
#include "settings/widgets/JobFileOffer.h"
#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"
#include "shared/ZetuUnit.h"

#include <cstdio>
#include <utility>

namespace zentavo {

namespace {

// A damaged settings file is told once: in a window, or where an automatic
// run leaves its traces (standard error and the run's report).
void tellSettingsDamage(TFormZentavo &form, bool autoRun)
{
    const std::optional<QString> notice = SettingsDamageNotice();
    if (!notice)
        return;
    if (autoRun) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(*notice));
        form.Session().AddStartNotice(*notice);
        return;
    }
    platform::prompter().message(
        {form.windowTitle(), *notice, platform::PromptIcon::Warning, platform::PromptButton::Ok, {}});
}

} // namespace

std::unique_ptr<TFormZentavo> StartZentavo(const QStringList &arguments, TFormZentavo::SettingsLoader loadSettings,
                                           int &exitCode)
{
    exitCode = 0;
    const VorrinSettings stored = loadSettings({});
    ZentavoSettings settings = zentavoSettingsFrom(stored, platform::programFolder());
    const StartRequest request = ApplySwitches(arguments, settings, settings.EditFJob);
    if (!request.ok()) {
        platform::prompter().message({CaptionZentavo,
                                      UsageText(request.UnknownArgument),
                                      platform::PromptIcon::Warning,
                                      platform::PromptButton::Ok,
                                      {}});
        exitCode = TFormZentavo::ExitNotStarted;
        return nullptr;
    }
    // The help window of "/?" stays until somebody closes it: where nobody
    // can, the switches are told on standard output and the program ends.
    if (request.HelpAsked && !platform::prompter().canBeSeen()) {
        std::fputs(qUtf8Printable(CommandLineHelp()), stdout);
        std::fflush(stdout);
        return nullptr;
    }

    const QString productTitle = GetProductTitle();
    auto form = std::make_unique<TFormZentavo>(stored, settings, std::move(loadSettings),
                                               productTitle.isEmpty() ? CaptionZentavo : productTitle, request);
    // The first show starts nothing: the automatic run is not set yet.
    if (TakeRunMinimizedRequest())
        form->showMinimized();
    else
        platform::ShowCentredOnScreen(*form);
    form->ArmAutoRun();
    tellSettingsDamage(*form, request.AutoRun);
    form->OpenJobFile(request.JobFileName, true);
    if (form->Document().path.isEmpty()) {
        form->show();
        form->raise();
        OfferJobFileEditor(form->windowTitle(), [] {
            return RunProgram(u'"' + platform::siblingProgram(QStringLiteral("Pelvaro")) + u'"', true);
        });
        form->ReloadSettings();
        form->OpenJobFile(form->Settings().EditFJob, true);
    }
    if (form->LoadFailedUnattended()) {
        exitCode = TFormZentavo::ExitNotStarted;
        return nullptr;
    }
    form->FormShow();
    if (!form->isVisible()) {
        // The start dialog of an automatic run was cancelled: no backup ran.
        exitCode = TFormZentavo::ExitNotStarted;
        return nullptr;
    }
    // Without an automatic run the worker would end at once; the Run command
    // starts one when asked.
    if (form->Runs().State().AutoRun())
        form->StartWorker();
    return form;
}

} // namespace zentavo
