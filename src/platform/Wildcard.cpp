#include "Wildcard.h"

#include <QRegularExpression>

namespace platform {

namespace {

bool sameLetter(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// Greedy star matching with one back-track point: linear in practice and
// never exponential, whatever the number of stars.
bool matchesPattern(QStringView name, QStringView mask)
{
    qsizetype n = 0;
    qsizetype m = 0;
    qsizetype starMask = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == u'*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == u'?' || sameLetter(mask[m], name[n]))) {
            ++m;
            ++n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*')
        ++m;
    return m == mask.size();
}

} // namespace

bool matchesMask(const QString &name, const QString &mask)
{
    if (matchesPattern(name, mask))
        return true;
    const QStringView anyExtension = u".*";
    if (mask.endsWith(anyExtension) && !name.contains(u'.'))
        return matchesPattern(name, QStringView(mask).chopped(anyExtension.size()));
    return false;
}

bool matchesAnyMask(const QString &name, const QString &maskList)
{
    static const QRegularExpression separators(QStringLiteral("[;|]"));
    const QStringList masks = maskList.split(separators, Qt::SkipEmptyParts);
    for (const QString &mask : masks) {
        const QString trimmed = mask.trimmed();
        if (!trimmed.isEmpty() && matchesMask(name, trimmed))
            return true;
    }
    return false;
}

bool hasWildcards(const QString &text)
{
    return text.contains(u'*') || text.contains(u'?');
}

} // namespace platform
