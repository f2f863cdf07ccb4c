#include "MailNames.h"

#include "mail/HeaderLines.h"

#include <QMimeDatabase>
#include <QRandomGenerator>

namespace smtpmail {

QString MakeBoundary()
{
    const quint32 value = QRandomGenerator::global()->generate();
    return QStringLiteral("boundary") + PadLeft(QString::number(value, 16).toUpper(), 8, QStringLiteral("0"));
}

QString GetExtensionByMimeType(const QString &mimeType)
{
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeType.trimmed());
    if (!type.isValid() || type.preferredSuffix().isEmpty())
        return {};
    return u'.' + type.preferredSuffix();
}

bool IsIPAddress(const QString &host)
{
    for (const QString &piece : host.split(u'.')) {
        if (piece.isEmpty())
            return false;
        for (const QChar c : piece)
            if (c < u'0' || c > u'9')
                return false;
    }
    return true;
}

QString SafeFileName(const QString &text)
{
    static const QString reserved = QStringLiteral(":\\/*?\"<>|'");
    QString name = text.trimmed().left(254);
    for (QChar &c : name)
        if (c.unicode() < 32 || reserved.contains(c))
            c = u'_';
    return name;
}

} // namespace smtpmail
