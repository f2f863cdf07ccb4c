#pragma once

#include <QString>
#include <QtGlobal>

// Qt's platform plugins report what they cannot do on every window they
// show (the offscreen plugin cannot pass size hints, a session without a
// notification-area host has no tray window signal). Those notices say
// nothing a user can act on and bury the warnings that matter, so the
// programs drop exactly these and pass every other message on.
namespace platform {

// True for a notice that is dropped.
bool isPlatformNotice(QtMsgType type, const char *category, const QString &message);

// Installs the filter in front of the message handler in use.
void quietQtNotices();

} // namespace platform
