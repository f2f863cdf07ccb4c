#include "MailMessage.h"

#include "mail/HeaderWords.h"
#include "mail/MailCharset.h"
#include "mail/MailNames.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <cstdlib>

namespace smtpmail {

namespace {

const QString contentType = QStringLiteral("Content-Type");
const QString contentDisposition = QStringLiteral("Content-Disposition");
const QString contentLength = QStringLiteral("Content-Length");
const QString inlineDisposition = QStringLiteral("inline");
const QString textPlain = QStringLiteral("text/plain");
const QString textHtml = QStringLiteral("text/html");

QString withCrLf(const QString &text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return lines.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

QString randomHex()
{
    return QString::number(QRandomGenerator::global()->generate(), 16).toUpper();
}

// What comes before a field's value on its line: "Name: ".
qsizetype fieldLead(QStringView name)
{
    return name.size() + 2;
}

void setContentLength(TMailPart &part)
{
    part.SetHeaderField(contentLength, QString::number(part.Body.size()));
}

} // namespace

TMailMessage::TMailMessage()
    : TMailPart(this)
    , To(this, QStringLiteral("To"))
    , Cc(this, QStringLiteral("Cc"))
    , Bcc(this, QStringLiteral("Bcc"))
{
}

bool TMailMessage::SetFrom(const QString &name, const QString &address)
{
    if (!IsSafeAddress(address))
        return false;
    // Users write the sender as they write a recipient, often with a name.
    const QList<TAddress> entries = ParseAddressList(address);
    if (entries.size() > 1)
        return false;
    if (entries.isEmpty()) {
        SetWholeField(QStringLiteral("From"), QString());
        return true;
    }
    TAddress sender = entries.first();
    if (sender.name.isEmpty())
        sender.name = name.trimmed();
    SetWholeField(QStringLiteral("From"), FormatAddress(sender, Charset, fieldLead(u"From")));
    return true;
}

void TMailMessage::SetSubject(const QString &text)
{
    SetWholeField(QStringLiteral("Subject"),
                  text.isEmpty() ? QString() : EncodeHeaderText(text, Charset, fieldLead(u"Subject")));
}

void TMailMessage::SetMessageId(const QString &localAddress, const QDateTime &when)
{
    // An IPv6 address holds ":" and goes into a domain literal.
    const QString domain = localAddress.contains(u':') ? u'[' + localAddress + u']' : localAddress;
    SetWholeField(QStringLiteral("Message-ID"),
                  u'<' + when.toString(QStringLiteral("yyyyMMddhhmmss")) + u'.' + randomHex() + u'.' + randomHex()
                      + u'@' + domain + u'>');
}

void TMailMessage::SetDate(const QDateTime &when)
{
    // Mail readers parse these names; a localised date would be no date to them.
    static const char *const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char *const months[]
        = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate date = when.date();
    const QTime time = when.time();
    const int offsetMinutes = when.offsetFromUtc() / 60;
    const int absoluteMinutes = std::abs(offsetMinutes);
    SetWholeField(QStringLiteral("Date"),
                  QString::asprintf("%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d", days[date.dayOfWeek() - 1],
                                    date.day(), months[date.month() - 1], date.year(), time.hour(), time.minute(),
                                    time.second(), offsetMinutes < 0 ? '-' : '+', absoluteMinutes / 60,
                                    absoluteMinutes % 60));
}

TAddress TMailMessage::GetAddressField(const QString &field) const
{
    const QList<TAddress> entries = ParseAddressList(GetHeaderField(field));
    return entries.isEmpty() ? TAddress() : entries.first();
}

QString TMailMessage::GetFromAddress() const
{
    return GetAddressField(QStringLiteral("From")).address;
}

void TMailMessage::SetTextPlain(const QString &text)
{
    SetText(text, tsPlain, textPlain);
}

void TMailMessage::SetText(const QString &text, TTextSlot slot, const QString &type)
{
    TMailPart *&part = Slot(slot);
    if (!part)
        Normalize(nfAlternative);
    if (!part) {
        if (m_container) {
            qsizetype index = -1;
            if (type == textPlain)
                index = 0;
            else if (type == textHtml)
                index = m_container->SubParts().Count() > 0
                        && m_container->SubParts().Items(0)->GetContentType() == textPlain
                    ? 1
                    : 0;
            auto created = std::make_unique<TMailPart>(this);
            created->ParentBoundary = m_container->GetBoundary();
            part = m_container->InsertPart(index, std::move(created));
        } else {
            part = this;
        }
    }
    const TCharsetText encoded = EncodeInCharset(withCrLf(text), Charset);
    part->SetDecodedBody(encoded.bytes);
    part->Encode(TextEncoding);
    part->SetHeaderField(contentType, type);
    part->SetHeaderParam(contentType, QStringLiteral("charset"), u'"' + QString::fromLatin1(encoded.charset) + u'"');
    part->SetHeaderField(contentDisposition, inlineDisposition);
    setContentLength(*part);
    m_needRebuild = true;
}

std::unique_ptr<TMailPart> TMailMessage::TakeTextPart(TMailPart *&slot)
{
    std::unique_ptr<TMailPart> part;
    if (slot == this) {
        part = std::make_unique<TMailPart>(this);
        part->CopyContentFrom(*this);
        for (const QString &line : std::as_const(HeaderLines))
            if (line.startsWith(u"Content-", Qt::CaseInsensitive))
                part->HeaderLines.append(line);
    } else if (slot) {
        part = slot->DetachFromParent();
    }
    slot = nullptr;
    return part;
}

TMailPart *TMailMessage::MakeContainer(TMailPart *parent, const QString &type, const QString &suffix)
{
    TMailPart *container = this;
    if (parent) {
        auto created = std::make_unique<TMailPart>(this);
        created->ParentBoundary = parent->GetBoundary();
        container = parent->InsertPart(-1, std::move(created));
    }
    container->SetHeaderField(contentType, type);
    container->SetHeaderParam(contentType, QStringLiteral("boundary"), u'"' + MakeBoundary() + suffix + u'"');
    return container;
}

void TMailMessage::Normalize(TNormalizeForce force)
{
    m_needRebuild = true;
    const int attachments = force == nfMixed ? 1 : 0;
    const int embedded = force == nfRelated ? 1 : 0;
    const int texts = (force == nfAlternative ? 1 : 0) + (m_plain ? 1 : 0) + (m_html ? 1 : 0);

    // The texts survive; every old container goes.
    std::unique_ptr<TMailPart> plain = TakeTextPart(m_plain);
    std::unique_ptr<TMailPart> html = TakeTextPart(m_html);
    ClearParts();
    m_mixed = m_related = m_alternative = m_container = nullptr;

    for (const char *field : {"Content-Type", "Content-Transfer-Encoding", "Content-Disposition", "Content-ID",
                              "Content-Location", "Content-Length", "X-SmtpMail-Attachment"})
        SetHeaderField(QString::fromLatin1(field), QString());
    SetHeaderField(QStringLiteral("Mime-Version"), QStringLiteral("1.0"));
    SetHeaderField(QStringLiteral("X-Mailer"), QStringLiteral("SmtpMail 1.10 https://zentavo.invalid/smtpmail"));

    if (attachments > 1 || (attachments > 0 && (texts > 0 || embedded > 0)))
        m_mixed = MakeContainer(nullptr, QStringLiteral("multipart/mixed"), QStringLiteral("_mixed"));
    if (embedded > 0)
        m_related = MakeContainer(m_mixed, QStringLiteral("multipart/related"), QStringLiteral("_related"));
    if (texts > 1)
        m_alternative = MakeContainer(m_related ? m_related : m_mixed, QStringLiteral("multipart/alternative"),
                                      QStringLiteral("_alternative"));
    m_container = m_alternative ? m_alternative : (m_related ? m_related : m_mixed);

    const std::pair<std::unique_ptr<TMailPart> *, TTextSlot> textParts[] = {{&plain, tsPlain}, {&html, tsHtml}};
    for (const auto &[owned, slot] : textParts) {
        std::unique_ptr<TMailPart> &part = *owned;
        if (!part)
            continue;
        const QString type = slot == tsPlain ? textPlain : textHtml;
        const QString charset = part->GetHeaderParam(contentType, QStringLiteral("charset"));
        part->Decode();
        TMailPart *target = part.get();
        if (!m_container) {
            target = this;
            CopyContentFrom(*part);
        }
        target->SetHeaderField(contentType, type);
        if (!charset.isEmpty())
            target->SetHeaderParam(contentType, QStringLiteral("charset"), u'"' + charset + u'"');
        target->SetHeaderField(contentDisposition, inlineDisposition);
        target->Encode(TextEncoding);
        setContentLength(*target);
        if (m_container) {
            part->ClearParts();
            part->ParentBoundary = m_container->GetBoundary();
            target = m_container->InsertPart(-1, std::move(part));
        }
        Slot(slot) = target;
    }
}

void TMailMessage::RebuildBody()
{
    if (!m_needRebuild)
        return;
    if (SubParts().Count() > 0) {
        Body = "This is a multipart message in mime format.\r\n";
        WriteParts(*this);
    }
    setContentLength(*this);
    m_needRebuild = false;
}

void TMailMessage::WriteParts(const TMailPart &part)
{
    const TMailPartList &parts = part.SubParts();
    for (qsizetype i = 0; i < parts.Count(); ++i) {
        const TMailPart &sub = *parts.Items(i);
        Body += "\r\n--" + sub.ParentBoundary.toLatin1() + "\r\n";
        for (const QString &line : sub.HeaderLines)
            if (!line.isEmpty())
                Body += line.toUtf8() + "\r\n";
        Body += "\r\n";
        if (sub.SubParts().Count() > 0)
            WriteParts(sub);
        else
            Body += sub.Body;
    }
    if (parts.Count() > 0)
        Body += "\r\n--" + parts.Items(0)->ParentBoundary.toLatin1() + "--\r\n";
}

} // namespace smtpmail
