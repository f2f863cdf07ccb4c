#include "PelvaroStart.h"

#include "ConstStr.h"
#include "EditorStart.h"
#include "Prompter.h"
#include "VorrinStore.h"

#include <QCoreApplication>

namespace pelvo {

std::unique_ptr<TFormEditor> StartPelvaro(const QStringList &arguments)
{
    const QString defaultDat = zentavo::ReadDefaultDat();
    DatFileName = StartJobFile(arguments, defaultDat, QCoreApplication::applicationDirPath());
    auto form = std::make_unique<TFormEditor>(!defaultDat.isEmpty());
    form->show();
    if (DatFileName != NoNameDat && !form->ReadFDat()) {
        platform::prompter().message({zentavo::sEditorHeader, zentavo::sReadError + u'\r' + DatFileName,
                                      platform::PromptIcon::Error, platform::PromptButton::Ok, {}});
    }
    if (form->Blocks().empty())
        form->DisableForm();
    // The first job of a new file is asked for once, over the shown window.
    if (DatFileName == NoNameDat)
        form->ENewClick();
    return form;
}

} // namespace pelvo
