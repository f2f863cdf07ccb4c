#include "ZentavoStart.h"

#include "CommandLineSwitches.h"
#include "ConstStr.h"
#include "Paths.h"
#include "ProgramHelp.h"
#include "Prompter.h"
#include "SuiteMessages.h"
#include "VorrinStore.h"
#include "ZetuUnit.h"

#include <cstdio>


namespace zentavo {

namespace {

// Offers to create a job file with the editor and waits for it.
void offerEditor(TFormZentavo &form)
{
    form.show();
    form.raise();
    const platform::PromptButton answer = platform::prompter().message(
        {form.windowTitle(), sRunEditor1 + u'\r' + sRunEditor2, platform::PromptIcon::Information,
         platform::PromptButton::Yes | platform::PromptButton::No,
         [] { help::ShowHelpTopic(QStringLiteral("CreateJob")); }});
    if (answer == platform::PromptButton::Yes) {
        RunProgram(u'"' + platform::siblingProgram(QStringLiteral("Pelvaro")) + u'"', true);
    }
}

// A damaged settings file is told once: in a window, or where an automatic
// run leaves its traces (standard error and the run's report).
void tellSettingsDamage(TFormZentavo &form, bool autoRun)
{
    const std::optional<QString> notice = SettingsDamageNotice();
    if (!notice)
        return;
    if (autoRun) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(*notice));
        form.AddStartNotice(*notice);
        return;
    }
    platform::prompter().message({form.windowTitle(), *notice, platform::PromptIcon::Warning,
                                  platform::PromptButton::Ok, {}});
}

} // namespace

std::unique_ptr<TFormZentavo> StartZentavo(const QStringList &arguments, TFormZentavo::SettingsLoader loadSettings,
                                           int &exitCode)
{
    exitCode = 0;
    ZentavoSettings settings = loadSettings();
    const StartRequest request = ApplySwitches(arguments, settings, settings.EditFJob);
    if (!request.ok()) {
        platform::prompter().message({CaptionZentavo, UsageText(request.UnknownArgument),
                                      platform::PromptIcon::Warning, platform::PromptButton::Ok, {}});
        exitCode = 1;
        return nullptr;
    }

    const QString productTitle = GetProductTitle();
    auto form = std::make_unique<TFormZentavo>(settings, loadSettings, productTitle.isEmpty() ? CaptionZentavo : productTitle);
    // The first show starts nothing: the automatic run is not set yet.
    if (TakeRunMinimizedRequest())
        form->showMinimized();
    else
        form->show();
    RunFlags &flags = form->Runs().Flags();
    flags.AutoRun = request.AutoRun;
    tellSettingsDamage(*form, request.AutoRun);
    form->Document().path = request.JobFileName;
    form->ReadJobFile(true);
    if (form->Document().path.isEmpty()) {
        offerEditor(*form);
        form->Settings() = loadSettings();
        form->Document().path = form->Settings().EditFJob;
        form->ReadJobFile(true);
    }
    if (form->LoadFailedUnattended()) {
        exitCode = 2;
        return nullptr;
    }
    form->FormShow();
    if (!form->isVisible())
        return nullptr;
    // Without an automatic run the worker would end at once; the Run command
    // starts one when asked.
    if (flags.AutoRun)
        form->StartWorker();
    return form;
}

} // namespace zentavo
