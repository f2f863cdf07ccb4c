#include "platform/QuietQtNotices.h"
#include "platform/widgets/ProgramSetUp.h"
#include "scheduler/widgets/VorrinStart.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::quietQtNotices();
    QApplication app(argc, argv);
    // The scheduler lives in the notification area: closing a dialog must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    // Its boxes block only the window they belong to: the icon's menu, with
    // Exit, stays in reach while a question or the About box is open.
    platform::setUpProgram(QStringLiteral("Vorrin"), Qt::WindowModal);
    int exitCode = 0;
    const auto tray = zentavo::StartVorrin(exitCode);
    if (!tray)
        return exitCode;
    // Exit may have been asked for while the start-up waited for the user.
    return tray->Exiting() ? 0 : app.exec();
}
