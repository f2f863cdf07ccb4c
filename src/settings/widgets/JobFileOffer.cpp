#include "JobFileOffer.h"

#include "ConstStr.h"
#include "Paths.h"
#include "ProgramHelp.h"
#include "Prompter.h"
#include "ZetuUnit.h"

namespace zentavo {

bool OfferJobFileEditor(const QString &title)
{
    const platform::PromptButton answer = platform::prompter().message(
        {title, sRunEditor1 + u'\r' + sRunEditor2, platform::PromptIcon::Information,
         platform::PromptButton::Yes | platform::PromptButton::No,
         [] { help::ShowHelpTopic(QStringLiteral("CreateJob")); }});
    return answer == platform::PromptButton::Yes
        && RunProgram(u'"' + platform::siblingProgram(QStringLiteral("Pelvaro")) + u'"', true);
}

} // namespace zentavo
