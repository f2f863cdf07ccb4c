#include "QuietQtNotices.h"

#include <QLatin1StringView>

namespace platform {

namespace {

QtMessageHandler previousHandler = nullptr;

void filterMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!isPlatformNotice(type, context.category, message) && previousHandler)
        previousHandler(type, context, message);
}

} // namespace

bool isPlatformNotice(QtMsgType type, const char *category, const QString &message)
{
    if (type != QtWarningMsg)
        return false;
    if (message == QLatin1StringView("This plugin does not support propagateSizeHints()"))
        return true;
    // The tray icon connects to a signal that only some platform plugins have.
    return category && QLatin1StringView(category) == QLatin1StringView("qt.core.qobject.connect")
        && message.contains(QLatin1StringView("QPlatformNativeInterface::systemTrayWindowChanged"));
}

void quietQtNotices()
{
    previousHandler = qInstallMessageHandler(filterMessage);
}

} // namespace platform
