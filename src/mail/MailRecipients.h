#pragma once

#include "mail/MailAddresses.h"

#include <QString>
#include <QStringList>

namespace smtpmail {

class TMailMessage;

// One address field ("To", "Cc", "Bcc") of a message, read from its header
// lines again whenever the field's text has changed.
class TMailRecipients {
public:
    TMailRecipients(TMailMessage *message, QString fieldName);

    // The address text may hold several addresses separated by "," or ";"
    // (bare addresses also by blanks), each becoming an entry of its own; a name given applies to a single
    // address without a name of its own. An address with a line break is
    // refused and nothing changes.
    bool AddRecipient(const QString &name, const QString &address);
    void ClearRecipients();
    qsizetype Count();
    QStringList Addresses();
    QStringList Names();

private:
    QString FieldText() const;
    void Read();
    void Write();

    TMailMessage *m_message;
    QString m_fieldName;
    QList<TAddress> m_entries;
    QString m_readText;
};

} // namespace smtpmail
