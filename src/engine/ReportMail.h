#pragma once

#include "mail/MailSession.h"

#include <QString>
#include <QStringList>

class RunReport;

namespace smtpmail {
class TMailMessage;
class TSmtpClient;
} // namespace smtpmail

using ReportMailSettings = smtpmail::TMailSettings;

// Mails the report lines with the run's result word in the subject, and
// writes the transcript of the SMTP dialogue to the report (and its file,
// opened again for appending). Nothing is retried; every failure is a line.
void SendRep(const QStringList &reportLines, int overallResult, const ReportMailSettings &settings,
             const QString &productTitle, smtpmail::TMailMessage &message, smtpmail::TSmtpClient &smtp,
             RunReport &report);
