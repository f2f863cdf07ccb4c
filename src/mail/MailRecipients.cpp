#include "MailRecipients.h"

#include "mail/HeaderLines.h"
#include "mail/MailMessage.h"

namespace smtpmail {

TMailRecipients::TMailRecipients(TMailMessage *message, QString fieldName)
    : m_message(message)
    , m_fieldName(std::move(fieldName))
{
}

QString TMailRecipients::FieldText() const
{
    QString text;
    const QString prefix = m_fieldName + u':';
    for (const QString &line : m_message->HeaderLines)
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            text += line.mid(prefix.size()) + u',';
    return text;
}

void TMailRecipients::Read()
{
    const QString text = FieldText();
    if (text == m_readText)
        return;
    m_entries = ParseAddressList(text);
    m_readText = text;
}

void TMailRecipients::Write()
{
    const QString prefix = m_fieldName + u':';
    m_message->HeaderLines.removeIf(
        [&prefix](const QString &line) { return line.startsWith(prefix, Qt::CaseInsensitive); });
    if (!m_entries.isEmpty()) {
        QStringList written;
        // Later entries may begin a folded line of their own.
        for (const TAddress &entry : std::as_const(m_entries))
            written << FormatAddress(entry, m_message->Charset, written.isEmpty() ? prefix.size() + 1 : 0);
        m_message->HeaderLines.append(prefix + u' ' + written.join(QStringLiteral(", ")));
    }
    m_readText = FieldText();
}

bool TMailRecipients::AddRecipient(const QString &name, const QString &address)
{
    if (!IsSafeAddress(address))
        return false;
    QList<TAddress> added = ParseAddressList(address);
    if (added.isEmpty())
        return false;
    if (added.size() == 1 && added[0].name.isEmpty())
        added[0].name = name.trimmed();
    Read();
    m_entries += added;
    Write();
    return true;
}

void TMailRecipients::ClearRecipients()
{
    m_entries.clear();
    Write();
}

qsizetype TMailRecipients::Count()
{
    Read();
    return m_entries.size();
}

QStringList TMailRecipients::Addresses()
{
    Read();
    QStringList addresses;
    for (const TAddress &entry : std::as_const(m_entries))
        addresses << entry.address;
    return addresses;
}

QStringList TMailRecipients::Names()
{
    Read();
    QStringList names;
    for (const TAddress &entry : std::as_const(m_entries))
        names << entry.name;
    return names;
}

} // namespace smtpmail
