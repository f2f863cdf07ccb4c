#include "HelpCommands.h"

namespace help {

namespace {

HelpEvent &applicationEvent()
{
    static HelpEvent event;
    return event;
}

} // namespace

HelpEvent ApplicationHelpEvent()
{
    return applicationEvent();
}

void SetApplicationHelpEvent(HelpEvent event)
{
    applicationEvent() = std::move(event);
}

bool ApplicationHelpCommand(quint16 command, qint64 data)
{
    // A copy: the handler may replace the event while it runs.
    const HelpEvent event = applicationEvent();
    bool callHelp = true;
    return event ? event(command, data, callHelp) : false;
}

qint64 PackPopupPoint(int x, int y)
{
    return qint64(quint32(quint16(qint16(x))) | (quint32(quint16(qint16(y))) << 16));
}

void UnpackPopupPoint(qint64 data, int &x, int &y)
{
    x = qint16(quint16(data & 0xFFFF));
    y = qint16(quint16((data >> 16) & 0xFFFF));
}

} // namespace help
