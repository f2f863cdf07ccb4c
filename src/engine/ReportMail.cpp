#include "ReportMail.h"

#include "engine/RunReport.h"
#include "mail/MailSession.h"
#include "mail/SmtpClient.h"
#include "report/ReportLines.h"
#include "settings/PortNumber.h"
#include "shared/ConstStr.h"

using namespace smtpmail;

namespace {

void addEvent(RunReport &report, const QString &event)
{
    report.AddRep(report::timed(event + QStringLiteral(": SMTP")));
}

void addReply(RunReport &report, const TSmtpClient &smtp)
{
    for (const QString &line : smtp.LastReplyLines())
        report.AddRep(line);
}

// Every step's outcome becomes a line, a failure's with the server's reply.
void talk(TSmtpClient &smtp, const ReportMailSettings &settings, RunReport &report)
{
    RunSmtpSession(smtp, settings, TAfterRefusedSend::Quit, [&](TSmtpStep step, bool succeeded) {
        if (step == TSmtpStep::Login) {
            addReply(report, smtp);
            return;
        }
        // Connected only once the server greeted back, when it is greeted.
        const bool sessionOpen = step == TSmtpStep::Greet || (step == TSmtpStep::Connect && !settings.CheckBoxHelo);
        if (!succeeded) {
            addEvent(report, SessionStatus(step));
            addReply(report, smtp);
        } else if (sessionOpen) {
            addEvent(report, QStringLiteral("Connected"));
        } else if (step == TSmtpStep::Send) {
            addEvent(report, SessionStatus(std::nullopt));
        } else if (step == TSmtpStep::Quit) {
            addEvent(report, QStringLiteral("Disconnected"));
        }
    });
}

} // namespace

void SendRep(const QStringList &reportLines, int overallResult, const ReportMailSettings &settings,
             const QString &productTitle, TMailMessage &message, TSmtpClient &smtp, RunReport &report)
{
    const std::optional<QString> refused
        = PrepareMail(smtp, message, settings,
                      u'[' + zentavo::sRes.at(std::size_t(std::clamp(overallResult, 0, 2))) + QStringLiteral("] ")
                          + settings.EditSubject,
                      productTitle, reportLines.join(QStringLiteral("\r\n")));
    report.file().reopenForAppend();

    const std::optional<quint16> port = zentavo::PortNumber(settings.EditPort);
    if (refused) {
        addEvent(report, SessionStatus(TSmtpStep::Send));
        report.AddRep(*refused);
    } else if (port) {
        smtp.Port = *port;
        talk(smtp, settings, report);
    } else {
        addEvent(report, SessionStatus(TSmtpStep::Connect));
        report.AddRep(QStringLiteral("The port \"%1\" is no port number").arg(settings.EditPort));
    }
    report.AddRep(report::Separator);
    // No trimming follows the transcript.
    report.file().finish(0);
}
