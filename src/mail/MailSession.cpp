#include "MailSession.h"

#include "mail/MailMessage.h"
#include "mail/SmtpClient.h"

namespace smtpmail {

std::optional<QString> PrepareMail(TSmtpClient &smtp, TMailMessage &message, const TMailSettings &settings,
                                   const QString &subject, const QString &senderName, const QString &text)
{
    std::optional<QString> refused;
    message.To.ClearRecipients();
    if (!IsSafeAddress(settings.EditEMail))
        refused = QStringLiteral("The recipient address holds a line break");
    else
        message.To.AddRecipient(QString(), settings.EditEMail);
    message.SetSubject(subject);
    if (!message.SetFrom(senderName, settings.EditFrom)) {
        message.SetFrom(senderName, QString());
        refused = IsSafeAddress(settings.EditFrom) ? QStringLiteral("The sender field holds more than one address")
                                                   : QStringLiteral("The sender address holds a line break");
    }
    message.SetTextPlain(text);
    message.RebuildBody();
    smtp.MailMessage = &message;
    smtp.Handshaking = hsManual; // the greeting and login are RunSmtpSession's
    smtp.Host = settings.EditHost;
    return refused;
}

QString SessionStatus(std::optional<TSmtpStep> failed)
{
    if (!failed)
        return QStringLiteral("Report sent");
    switch (*failed) {
    case TSmtpStep::Connect:
    case TSmtpStep::Greet: return QStringLiteral("Failed on connect");
    case TSmtpStep::Send: return QStringLiteral("Failed on send");
    default: return QStringLiteral("Failed on disconnect");
    }
}

std::optional<TSmtpStep> RunSmtpSession(TSmtpClient &smtp, const TMailSettings &settings,
                                        TAfterRefusedSend afterRefusedSend, const TStepEvent &stepDone)
{
    if (!smtp.Connect()) {
        stepDone(TSmtpStep::Connect, false);
        smtp.AbortSession();
        return TSmtpStep::Connect;
    }
    stepDone(TSmtpStep::Connect, true);
    if (settings.CheckBoxHelo) {
        const bool greeted = smtp.SendEhlo() || smtp.SendHelo();
        stepDone(TSmtpStep::Greet, greeted);
        // A server that does not greet back takes no mail: waiting for the
        // send and the quit as well would only multiply the time lost.
        if (!greeted) {
            smtp.AbortSession();
            return TSmtpStep::Greet;
        }
    }
    if (settings.CheckBoxAuth) {
        smtp.UserName = settings.EditUserName;
        smtp.Password = settings.EditPassword;
        // A refused login shows in the server's reply; the send then tells
        // whether the server insists on it.
        const bool loggedIn = smtp.AuthLogin() && smtp.Login();
        stepDone(TSmtpStep::Login, loggedIn);
    }
    std::optional<TSmtpStep> failed;
    const bool sent = smtp.SendMailMessage();
    stepDone(TSmtpStep::Send, sent);
    if (!sent) {
        failed = TSmtpStep::Send;
        // A session that ended (aborted, or closed by the server) has nothing to quit.
        if (afterRefusedSend == TAfterRefusedSend::Abort || !smtp.Connected()) {
            smtp.AbortSession();
            return failed;
        }
    }
    const bool quit = smtp.Quit();
    stepDone(TSmtpStep::Quit, quit);
    if (!quit) {
        smtp.AbortSession();
        return failed.value_or(TSmtpStep::Quit);
    }
    return failed;
}

} // namespace smtpmail
