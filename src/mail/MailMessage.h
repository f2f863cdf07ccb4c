#pragma once

#include "mail/MailAddresses.h"
#include "mail/MailPart.h"
#include "mail/MailRecipients.h"

#include <QDateTime>
#include <QString>

namespace smtpmail {

enum TEmbedMethod { emContentID, emContentLocation };
enum TTextSlot { tsPlain, tsHtml };
// The container Normalize makes even when the counts alone would not ask for it.
enum TNormalizeForce { nfAlternative, nfMixed, nfRelated };

// The message: the root part, its recipient fields and its text parts.
class TMailMessage : public TMailPart {
public:
    TMailMessage();

    // Charset named in text parts and encoded words; a text this charset
    // cannot hold is sent in UTF-8 and declared so.
    QString Charset = QStringLiteral("iso-8859-1");
    TEncodingType TextEncoding = etQuotedPrintable;
    // Settings the settings dialog keeps with the message; they take effect
    // only for attachments and embedded parts, which no program adds.
    TEncodingType AttachEncoding = etBase64;
    TEmbedMethod EmbedMethod = emContentLocation;
    QString ContentLocationBase = QStringLiteral("http://localhost/");

    TMailRecipients To;
    TMailRecipients Cc;
    TMailRecipients Bcc;

    // The address text is read as a recipient's: "Name <address>",
    // "address (Name)" or a bare address; a name of its own wins over the
    // name given. Refuses a text with a line break or with more than one
    // address; a text without an address removes the field.
    bool SetFrom(const QString &name, const QString &address);
    // An empty subject removes the field.
    void SetSubject(const QString &text);
    void SetMessageId(const QString &localAddress, const QDateTime &when);
    // Date as RFC 5322 writes it ("Wed, 09 Dec 2026 15:33:50 +0100"): English
    // names and the moment's own offset from UTC, whatever the locale.
    void SetDate(const QDateTime &when);
    // The first entry of an address field.
    TAddress GetAddressField(const QString &field) const;
    QString GetFromAddress() const;

    void SetTextPlain(const QString &text);
    void SetText(const QString &text, TTextSlot slot, const QString &contentType);
    void Normalize(TNormalizeForce force);
    void RebuildBody();
    // The body no longer matches the texts; the SMTP client refuses to send it.
    bool NeedRebuild() const { return m_needRebuild; }

private:
    TMailPart *&Slot(TTextSlot slot) { return slot == tsPlain ? m_plain : m_html; }
    std::unique_ptr<TMailPart> TakeTextPart(TMailPart *&slot);
    TMailPart *MakeContainer(TMailPart *parent, const QString &type, const QString &suffix);
    void WriteParts(const TMailPart &part);

    TMailPart *m_plain = nullptr;
    TMailPart *m_html = nullptr;
    TMailPart *m_mixed = nullptr;
    TMailPart *m_related = nullptr;
    TMailPart *m_alternative = nullptr;
    TMailPart *m_container = nullptr;
    bool m_needRebuild = false;
};

} // namespace smtpmail
