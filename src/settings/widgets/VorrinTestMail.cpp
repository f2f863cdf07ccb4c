// The test mail of the settings dialog, sent with the values it shows.
#include "settings/widgets/VorrinUnit.h"

#include "mail/MailSession.h"
#include "platform/Prompter.h"
#include "settings/PortNumber.h"
#include "shared/ConstStr.h"
#include "shared/ZetuUnit.h"

#include <QApplication>
#include <QPushButton>

namespace zentavo {

void TFormVorrin::BitBtnTestClick()
{
    const TVorrinControls c = controls();
    const std::optional<quint16> port = zentavo::PortNumber(c.EditPort);
    if (!port) {
        showFault(VorrinFault::PortNotNumber);
        return;
    }
    const smtpmail::TMailSettings settings{c.EditHost,     c.EditPort,     c.EditEMail,    c.EditSubject, c.EditFrom,
                                           c.CheckBoxHelo, c.CheckBoxAuth, c.EditUserName, c.EditPassword};
    const QString version = GetVersionInfoStr();
    const std::optional<QString> refused
        = smtpmail::PrepareMail(SMTP, Msg, settings, c.EditSubject, m_context.productTitle,
                                version + QStringLiteral("\n\n") + DeleteAmpersand(BitBtnTest->text()));
    SMTP.Port = *port;

    QStringList transcript;
    std::optional<smtpmail::TSmtpStep> failed;
    if (refused) {
        failed = smtpmail::TSmtpStep::Send;
        transcript << *refused;
    } else {
        // The dialog stays responsive while the server is awaited; one test at a time.
        BitBtnTest->setEnabled(false);
        failed = smtpmail::RunSmtpSession(SMTP, settings, smtpmail::TAfterRefusedSend::Abort,
                                          [&](smtpmail::TSmtpStep, bool) { transcript << SMTP.LastReplyLines(); });
        BitBtnTest->setEnabled(true);
    }

    const QString text = SMTP.objectName() + QStringLiteral(": ") + smtpmail::SessionStatus(failed) + u'\n'
        + transcript.join(u'\n') + u'\n' + version;
    platform::prompter().message({QApplication::applicationDisplayName(),
                                  text,
                                  failed ? platform::PromptIcon::Error : platform::PromptIcon::Information,
                                  platform::PromptButton::Ok,
                                  {}});
}

} // namespace zentavo
