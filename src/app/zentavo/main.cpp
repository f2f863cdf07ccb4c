#include "engine/widgets/ZentavoStart.h"
#include "platform/LogindPowerControl.h"
#include "platform/QuietQtNotices.h"
#include "platform/widgets/ProgramSetUp.h"
#include "settings/VorrinStore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::quietQtNotices();
    QApplication app(argc, argv);
    platform::setUpProgram(QStringLiteral("Zentavo"));
    platform::setPowerControl(std::make_unique<platform::LogindPowerControl>());
    int exitCode = 0;
    const auto loadSettings = [](const zentavo::VorrinSettings &previous) {
        return zentavo::LoadVorrinSettings(zentavo::VorrinLoadContext::current(), previous);
    };
    const auto form = zentavo::StartZentavo(app.arguments().mid(1), loadSettings, exitCode);
    if (!form)
        return exitCode;
    const int loopResult = app.exec();
    return loopResult != 0 ? loopResult : form->ExitStatus();
}
