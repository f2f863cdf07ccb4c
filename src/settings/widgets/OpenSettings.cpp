#include "OpenSettings.h"

#include "platform/Prompter.h"
#include "platform/WindowMessages.h"
#include "platform/widgets/DialogRunner.h"
#include "settings/widgets/VorrinUnit.h"
#include "shared/ConstStr.h"

#include <QApplication>

namespace zentavo {

bool OpenSettingsDialog(TFormVorrin &dialog, SettingsProgram program)
{
    const bool zentavo = program == SettingsProgram::Zentavo;
    const QString ownTitle = zentavo ? sOptionsHeader : sVorrinHeader;
    const QString otherTitle = zentavo ? sVorrinHeader : sOptionsHeader;
    if (platform::findWindow(otherTitle)) {
        // The main program's box is titled by its window, the scheduler's by its own name.
        const QString title = !zentavo ? sVorrinHeader
            : dialog.parentWidget()    ? dialog.parentWidget()->window()->windowTitle()
                                       : QApplication::applicationDisplayName();
        const QString text = zentavo
            ? (sCloseVorrin + QStringLiteral(" \"") + otherTitle + QStringLiteral("\"!")).left(64)
            : sCloseVorrin + u' ' + otherTitle;
        platform::prompter().message({title, text, platform::PromptIcon::Warning, platform::PromptButton::Ok, {}});
        return false;
    }
    if (dialog.isVisible()) {
        dialog.raise();
        dialog.activateWindow();
        return false;
    }

    const QString applicationTitle = QApplication::applicationDisplayName();
    if (!zentavo)
        QApplication::setApplicationDisplayName(ownTitle);
    dialog.setWindowTitle(ownTitle);
    platform::MessageWindow shownTitle;
    shownTitle.setCaption(ownTitle);
    platform::runDialog(dialog);
    dialog.setWindowTitle(QString());
    if (!zentavo)
        QApplication::setApplicationDisplayName(applicationTitle);
    return true;
}

} // namespace zentavo
