#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace smtpmail {

enum TEncodingType { etBase64, etQuotedPrintable, etNoEncoding };

class TMailMessage;
class TMailPart;

// The sub-parts of a part, in order; the list owns them.
class TMailPartList {
public:
    qsizetype Count() const { return qsizetype(m_parts.size()); }
    TMailPart *Items(qsizetype index) const { return m_parts[size_t(index)].get(); }
    void Insert(qsizetype index, std::unique_ptr<TMailPart> part);
    std::unique_ptr<TMailPart> Take(const TMailPart *part);
    void Clear() { m_parts.clear(); }

private:
    std::vector<std::unique_ptr<TMailPart>> m_parts;
};

// One MIME part: its header lines (one line per field, never folded in
// memory), its body as sent and as decoded, and its sub-parts.
class TMailPart {
public:
    explicit TMailPart(TMailMessage *message);
    virtual ~TMailPart();
    TMailPart(const TMailPart &) = delete;
    TMailPart &operator=(const TMailPart &) = delete;

    QStringList HeaderLines;
    QByteArray Body;        // as sent
    QByteArray DecodedBody; // before encoding, after decoding
    QString ParentBoundary; // boundary of the container, without quotes

    TMailMessage *Message() const { return m_message; }
    TMailPart *Parent() const { return m_parent; }
    const TMailPartList &SubParts() const { return m_subParts; }

    // index -1 appends
    TMailPart *InsertPart(qsizetype index, std::unique_ptr<TMailPart> part);
    void ClearParts() { m_subParts.Clear(); }
    // Ownership of this part, taken from its parent; empty when it has none.
    std::unique_ptr<TMailPart> DetachFromParent();

    // Header fields are matched case-insensitively; each operation acts on the
    // first line of the field. An empty value removes that line.
    void SetHeaderField(const QString &name, const QString &value);
    // Replaces the whole value, a ";" in it included (unstructured fields, addresses).
    void SetWholeField(const QString &name, const QString &value);
    void SetHeaderParam(const QString &name, const QString &param, const QString &value);
    QString GetHeaderField(const QString &name) const;
    QString GetHeaderParam(const QString &name, const QString &param) const;
    bool HasHeaderField(const QString &name) const;
    bool HasHeaderParam(const QString &name, const QString &param) const;
    QString GetContentType() const;
    QString GetBoundary() const;

    // The decoded body as given by the caller; Decode then leaves it alone.
    void SetDecodedBody(const QByteArray &bytes);
    // Body and decoded body taken over from another part.
    void CopyContentFrom(const TMailPart &other);
    void Decode();
    void Encode(TEncodingType kind);
    // Header lines, folded, an empty line and the body: the text sent after DATA.
    QByteArray GetPartText() const;
    QString GetAttachmentFileName() const;

private:
    qsizetype FieldIndex(const QString &name) const;

    TMailMessage *m_message;
    TMailPart *m_parent = nullptr;
    TMailPartList m_subParts;
    bool m_decoded = false;
};

} // namespace smtpmail
