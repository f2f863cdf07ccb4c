#include "MailPart.h"

#include "mail/HeaderLines.h"
#include "mail/HeaderWords.h"
#include "mail/MailEncodings.h"
#include "mail/MailNames.h"

#include <algorithm>

namespace smtpmail {

namespace {

// A header value is one line: a line break in it would start a new field.
QString singleLine(const QString &value)
{
    QString line = value;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    return line;
}

QString withoutSingleQuotes(const QString &value)
{
    if (value.size() > 2 && value.startsWith(u'\'') && value.endsWith(u'\''))
        return value.mid(1, value.size() - 2);
    return value;
}

const QString contentType = QStringLiteral("Content-Type");
const QString transferEncoding = QStringLiteral("Content-Transfer-Encoding");

} // namespace

void TMailPartList::Insert(qsizetype index, std::unique_ptr<TMailPart> part)
{
    if (index < 0 || index > Count())
        index = Count();
    m_parts.insert(m_parts.begin() + index, std::move(part));
}

std::unique_ptr<TMailPart> TMailPartList::Take(const TMailPart *part)
{
    const auto found = std::find_if(m_parts.begin(), m_parts.end(),
                                    [part](const std::unique_ptr<TMailPart> &item) { return item.get() == part; });
    if (found == m_parts.end())
        return {};
    std::unique_ptr<TMailPart> taken = std::move(*found);
    m_parts.erase(found);
    return taken;
}

TMailPart::TMailPart(TMailMessage *message) : m_message(message)
{
}

TMailPart::~TMailPart() = default;

TMailPart *TMailPart::InsertPart(qsizetype index, std::unique_ptr<TMailPart> part)
{
    TMailPart *inserted = part.get();
    inserted->m_parent = this;
    m_subParts.Insert(index, std::move(part));
    return inserted;
}

std::unique_ptr<TMailPart> TMailPart::DetachFromParent()
{
    if (!m_parent)
        return {};
    std::unique_ptr<TMailPart> self = m_parent->m_subParts.Take(this);
    m_parent = nullptr;
    return self;
}

qsizetype TMailPart::FieldIndex(const QString &name) const
{
    return FindHeaderLine(HeaderLines, name + u':');
}

void TMailPart::SetHeaderField(const QString &name, const QString &value)
{
    qsizetype index = FieldIndex(name);
    if (value.isEmpty()) {
        if (index >= 0)
            HeaderLines.removeAt(index);
        return;
    }
    if (index < 0) {
        HeaderLines.append(name + QStringLiteral(": "));
        index = HeaderLines.size() - 1;
    }
    HeaderLines[index] = SetHeaderValue(HeaderLines[index], singleLine(value));
}

void TMailPart::SetWholeField(const QString &name, const QString &value)
{
    const qsizetype index = FieldIndex(name);
    if (value.isEmpty()) {
        if (index >= 0)
            HeaderLines.removeAt(index);
        return;
    }
    const QString line = name + QStringLiteral(": ") + singleLine(value).trimmed();
    if (index < 0)
        HeaderLines.append(line);
    else
        HeaderLines[index] = line;
}

void TMailPart::SetHeaderParam(const QString &name, const QString &param, const QString &value)
{
    qsizetype index = FieldIndex(name);
    if (index < 0) {
        HeaderLines.append(name + QStringLiteral(": "));
        index = HeaderLines.size() - 1;
    }
    HeaderLines[index] = SetParamValue(HeaderLines[index], param, singleLine(value));
}

QString TMailPart::GetHeaderField(const QString &name) const
{
    const qsizetype index = FieldIndex(name);
    return index < 0 ? QString() : withoutSingleQuotes(GetHeaderValue(HeaderLines[index]));
}

QString TMailPart::GetHeaderParam(const QString &name, const QString &param) const
{
    const qsizetype index = FieldIndex(name);
    return index < 0 ? QString() : withoutSingleQuotes(GetParamValue(HeaderLines[index], param));
}

bool TMailPart::HasHeaderField(const QString &name) const
{
    return FieldIndex(name) >= 0;
}

bool TMailPart::HasHeaderParam(const QString &name, const QString &param) const
{
    return !GetHeaderParam(name, param).isEmpty();
}

QString TMailPart::GetContentType() const
{
    return GetHeaderField(contentType).toLower();
}

QString TMailPart::GetBoundary() const
{
    return GetHeaderParam(contentType, QStringLiteral("boundary"));
}

void TMailPart::SetDecodedBody(const QByteArray &bytes)
{
    DecodedBody = bytes;
    m_decoded = true;
}

void TMailPart::CopyContentFrom(const TMailPart &other)
{
    Body = other.Body;
    DecodedBody = other.DecodedBody;
    m_decoded = other.m_decoded;
}

void TMailPart::Decode()
{
    if (m_decoded || Body.isEmpty())
        return;
    m_decoded = true;
    const QString encoding = GetHeaderField(transferEncoding).toLower();
    if (encoding == u"quoted-printable") {
        DecodedBody = DecodeQuotedPrintable(Body);
        return;
    }
    const bool base64 = encoding == u"base64";
    if (!base64 && encoding != u"uucode" && encoding != u"x-uuencode") {
        DecodedBody = Body;
        return;
    }
    DecodedBody.clear();
    const QString text = QString::fromLatin1(Body);
    for (qsizetype pos = 0; pos >= 0;) {
        const QString line = NextLine(text, pos);
        if (base64)
            DecodedBody += DecodeBase64Line(TrimBlanks(line).toLatin1());
        else
            DecodedBody += UUDecodeLine(QString(line).remove(u'\r').remove(u'\n').toLatin1());
    }
    if (!base64)
        Encode(etBase64);
}

void TMailPart::Encode(TEncodingType kind)
{
    switch (kind) {
    case etBase64:
        Body = EncodeBase64Stream(DecodedBody);
        SetHeaderField(transferEncoding, QStringLiteral("base64"));
        break;
    case etQuotedPrintable:
        Body = EncodeQuotedPrintable(DecodedBody, false);
        SetHeaderField(transferEncoding, QStringLiteral("quoted-printable"));
        break;
    case etNoEncoding:
        Body = DecodedBody;
        SetHeaderField(transferEncoding, QString());
        break;
    }
}

QByteArray TMailPart::GetPartText() const
{
    QByteArray text;
    for (const QString &line : HeaderLines)
        text += FoldHeaderLine(line).toUtf8();
    text += "\r\n";
    text += Body;
    return text;
}

QString TMailPart::GetAttachmentFileName() const
{
    const QString type = GetContentType();
    QString name = GetHeaderField(QStringLiteral("X-SmtpMail-Attachment"));
    if (name.isEmpty())
        name = GetHeaderParam(contentType, QStringLiteral("name"));
    if (name.isEmpty())
        name = GetHeaderParam(QStringLiteral("Content-Disposition"), QStringLiteral("filename"));
    if (name.isEmpty())
        name = GetHeaderField(QStringLiteral("Content-ID"));
    if (name.isEmpty())
        name = GetHeaderField(QStringLiteral("Content-Location"));
    if (name.isEmpty() && !type.isEmpty())
        name = type + GetExtensionByMimeType(type);
    if (name.isEmpty())
        name = QStringLiteral("unknown");
    name = DecodeHeaderWords(name);
    if (!name.contains(u'.') && !type.isEmpty())
        name += GetExtensionByMimeType(type);
    return SafeFileName(name);
}

} // namespace smtpmail
