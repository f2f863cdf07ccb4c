#include "MailAddresses.h"

#include "mail/HeaderWords.h"

#include <QRegularExpression>

namespace smtpmail {

namespace {

class TAddressCollector {
public:
    void Add(QChar c)
    {
        if (m_runClose != QChar()) {
            if (m_escaped) {
                m_name += c;
                m_escaped = false;
            } else if (c == u'\\' && m_runClose == u'"') {
                m_escaped = true;
            } else if (c == u'"' || c == u')') {
                m_runClose = QChar();
            } else {
                m_name += c;
            }
            return;
        }
        if (c == u'"' || c == u'(') {
            // "address (Name)": text before the comment is the address.
            if (m_address.isEmpty() && !m_name.trimmed().isEmpty()) {
                m_address = m_name;
                m_name.clear();
            }
            m_inAddress = false;
            m_runClose = c;
            m_grouped = true;
        } else if (c == u'<') {
            m_inAddress = true;
        } else if (c == u'>') {
            m_inAddress = false;
        } else if (c == u',' || c == u';') {
            Finish();
        } else if (m_inAddress) {
            if (c != u' ' && c != u'\t')
                m_address += c;
        } else {
            m_name += c;
        }
    }

    void Finish()
    {
        if (!m_address.trimmed().isEmpty())
            m_entries.append({DecodeHeaderWords(m_name).trimmed(), m_address.trimmed()});
        else if (m_grouped)
            appendBare(m_name);
        else
            // Bare addresses may also be separated by blanks.
            for (const QString &bare : m_name.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
                appendBare(bare);
        m_name.clear();
        m_address.clear();
        m_inAddress = false;
        m_runClose = QChar();
        m_escaped = false;
        m_grouped = false;
    }

    QList<TAddress> Entries() const { return m_entries; }

private:
    void appendBare(const QString &text)
    {
        if (!text.trimmed().isEmpty())
            m_entries.append({QString(), text.trimmed()});
    }

    QList<TAddress> m_entries;
    QString m_name;
    QString m_address;
    bool m_inAddress = false;
    bool m_grouped = false; // a quoted name or a comment was seen
    QChar m_runClose;
    bool m_escaped = false; // the character after a backslash in a quoted name is taken as it is
};

} // namespace

QList<TAddress> ParseAddressList(const QString &value)
{
    TAddressCollector collector;
    for (const QChar c : value)
        collector.Add(c);
    collector.Finish();
    return collector.Entries();
}

QString FormatAddress(const TAddress &entry, const QString &charset, qsizetype lead)
{
    const QString bracketed = u'<' + entry.address.trimmed() + u'>';
    const QString name = entry.name.trimmed();
    if (name.isEmpty())
        return bracketed;
    const QString encoded = EncodeHeaderText(name, charset, lead);
    if (encoded != name)
        return encoded + u' ' + bracketed;
    // In a quoted string a backslash escapes the next character (a double
    // quote never gets here: it makes the name encoded words).
    return u'"' + QString(name).replace(u'\\', QStringLiteral("\\\\")) + QStringLiteral("\" ") + bracketed;
}

bool IsSafeAddress(const QString &address)
{
    return !address.contains(u'\r') && !address.contains(u'\n');
}

} // namespace smtpmail
