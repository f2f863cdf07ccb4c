#include "ReportMail.h"

#include "ConstStr.h"
#include "MailMessage.h"
#include "ReportLines.h"
#include "RunReport.h"
#include "SmtpClient.h"

using namespace smtpmail;

namespace {

void addEvent(RunReport &report, const QString &event)
{
    report.AddRep(report::timed(event + QStringLiteral(": SMTP")));
}

// Connects, greets, logs in and sends; every step's outcome becomes a line.
void talk(TSmtpClient &smtp, const ReportMailSettings &settings, RunReport &report)
{
    if (!smtp.Connect()) {
        addEvent(report, QStringLiteral("Failed on connect"));
        report.AddRep(smtp.LastReply());
        smtp.AbortSession();
        return;
    }
    addEvent(report, QStringLiteral("Connected"));
    if (settings.CheckBoxHelo && !smtp.SendEhlo())
        smtp.SendHelo();
    if (settings.CheckBoxAuth) {
        smtp.UserName = settings.EditUserName;
        smtp.Password = settings.EditPassword;
        if (smtp.AuthLogin())
            smtp.Login();
        report.AddRep(smtp.LastReply());
    }
    if (smtp.SendMailMessage()) {
        addEvent(report, QStringLiteral("Report sent"));
    } else {
        addEvent(report, QStringLiteral("Failed on send"));
        report.AddRep(smtp.LastReply());
    }
    if (smtp.Quit()) {
        addEvent(report, QStringLiteral("Disconnected"));
    } else {
        addEvent(report, QStringLiteral("Failed on disconnect"));
        report.AddRep(smtp.LastReply());
        smtp.AbortSession();
    }
}

} // namespace

void SendRep(const QStringList &reportLines, int overallResult, const ReportMailSettings &settings,
             const QString &productTitle, TMailMessage &message, TSmtpClient &smtp, RunReport &report)
{
    message.To.ClearRecipients();
    message.To.AddRecipient(QString(), settings.EditEMail);
    message.SetSubject(u'[' + zentavo::sRes.at(std::size_t(std::clamp(overallResult, 0, 2))) + QStringLiteral("] ")
                       + settings.EditSubject);
    message.SetFrom(productTitle, settings.EditFrom);
    message.SetTextPlain(reportLines.join(QStringLiteral("\r\n")));
    message.RebuildBody();
    smtp.MailMessage = &message;
    smtp.Handshaking = hsManual; // the greeting and login below are ours
    report.file().reopenForAppend();

    bool portIsNumber = false;
    const int port = settings.EditPort.trimmed().toInt(&portIsNumber);
    smtp.Host = settings.EditHost;
    if (portIsNumber && port > 0 && port <= 65535) {
        smtp.Port = port;
        talk(smtp, settings, report);
    } else {
        addEvent(report, QStringLiteral("Failed on connect"));
        report.AddRep(QStringLiteral("The port \"%1\" is no port number").arg(settings.EditPort));
    }
    report.AddRep(report::Separator);
    report.file().close();
}
