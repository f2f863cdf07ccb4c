#include "PelvaroStart.h"

#include "editor/EditorStart.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/widgets/WindowPlacement.h"
#include "settings/VorrinStore.h"
#include "shared/ConstStr.h"

namespace pelvo {

std::unique_ptr<TFormEditor> StartPelvaro(const QStringList &arguments)
{
    const QString defaultDat = zentavo::ReadDefaultDat();
    auto form = std::make_unique<TFormEditor>(!defaultDat.isEmpty());
    form->SetDatFileName(StartJobFile(arguments, defaultDat, platform::programFolder()));
    platform::ShowCentredOnScreen(*form);
    if (form->DatFileName() != NoNameDat && !form->ReadFDat()) {
        platform::prompter().message({zentavo::sEditorHeader,
                                      zentavo::sReadError + u'\r' + form->DatFileName(),
                                      platform::PromptIcon::Error,
                                      platform::PromptButton::Ok,
                                      {}});
    }
    if (form->Blocks().empty())
        form->DisableForm();
    // The first job of a new file is asked for once, over the shown window.
    if (form->DatFileName() == NoNameDat)
        form->ENewClick();
    return form;
}

} // namespace pelvo
