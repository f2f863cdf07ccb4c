#include "JobFileOffer.h"

#include "help/widgets/ProgramHelp.h"
#include "platform/Prompter.h"
#include "shared/ConstStr.h"

namespace zentavo {

bool OfferJobFileEditor(const QString &title, const std::function<bool()> &runEditor)
{
    const platform::PromptButton answer
        = platform::prompter().message({title, sRunEditor1 + u'\r' + sRunEditor2, platform::PromptIcon::Information,
                                        platform::PromptButton::Yes | platform::PromptButton::No,
                                        [] { help::ShowHelpTopic(QStringLiteral("CreateJob")); }});
    return answer == platform::PromptButton::Yes && runEditor();
}

} // namespace zentavo
