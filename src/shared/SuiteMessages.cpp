#include "SuiteMessages.h"

#include "platform/WindowMessages.h"

namespace zentavo {

void PostVorrinUpdate(quint64 mainProgramWParam)
{
    platform::postMessage(CaptionTrayVorrin, MsgUpdateVorrin, 0);
    platform::postMessage(CaptionZentavo, MsgUpdateVorrin, mainProgramWParam);
}

} // namespace zentavo
