#include "Wildcard.h"

#include <QRegularExpression>

namespace platform {

namespace {

bool sameLetter(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

constexpr int MaxStars = 30;

bool inRange(QChar c, QChar low, QChar high)
{
    for (const QChar variant : {c, c.toLower(), c.toUpper()}) {
        if (variant >= low && variant <= high)
            return true;
    }
    return false;
}

// The set that begins at mask[m] ("["); whether c is in it, and where the
// mask goes on after it. The mask was checked before.
bool inSet(QStringView mask, qsizetype &m, QChar c)
{
    qsizetype i = m + 1;
    const bool complement = i < mask.size() && mask[i] == u'!';
    if (complement)
        ++i;
    bool found = false;
    while (mask[i] != u']') {
        const QChar low = mask[i];
        QChar high = low;
        if (i + 2 < mask.size() && mask[i + 1] == u'-' && mask[i + 2] != u']') {
            high = mask[i + 2];
            i += 2;
        }
        found = found || inRange(c, low, high);
        ++i;
    }
    m = i + 1;
    return found != complement;
}

} // namespace

void checkMaskWithSets(const QString &mask)
{
    int stars = 0;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        if (mask[i] == u'*' && ++stars > MaxStars)
            throw InvalidMask(mask, i + 1);
        if (mask[i] != u'[')
            continue;
        qsizetype j = i + 1;
        if (j < mask.size() && mask[j] == u'!')
            ++j;
        while (j < mask.size() && mask[j] != u']')
            ++j;
        if (j >= mask.size() || j == i + 1 || (j == i + 2 && mask[i + 1] == u'!'))
            throw InvalidMask(mask, j + 1);
        i = j;
    }
}

namespace {

// Whether mask[m] (a "?", a letter or, with sets, a set) takes c; next is
// where the mask goes on after it.
bool takes(QStringView mask, qsizetype m, QChar c, bool sets, qsizetype &next)
{
    if (m >= mask.size())
        return false;
    next = m;
    if (sets && mask[m] == u'[')
        return inSet(mask, next, c);
    ++next;
    return mask[m] == u'?' || sameLetter(mask[m], c);
}

// Greedy star matching with one back-track point: linear in practice and
// never exponential, whatever the number of stars.
bool matchesPattern(QStringView name, QStringView mask, bool sets = false)
{
    qsizetype n = 0;
    qsizetype m = 0;
    qsizetype starMask = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        qsizetype next = m;
        if (m < mask.size() && mask[m] == u'*') {
            starMask = m++;
            starName = n;
        } else if (takes(mask, m, name[n], sets, next)) {
            m = next;
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

bool matchesWithExtensionRule(const QString &name, const QString &mask, bool sets)
{
    // The mask of nearly every search takes every name, with a dot or not.
    if (mask == u"*.*")
        return true;
    if (matchesPattern(name, mask, sets))
        return true;
    const QStringView anyExtension = u".*";
    if (mask.endsWith(anyExtension) && !name.contains(u'.'))
        return matchesPattern(name, QStringView(mask).chopped(anyExtension.size()), sets);
    return false;
}

} // namespace

bool matchesMask(const QString &name, const QString &mask)
{
    return matchesWithExtensionRule(name, mask, false);
}

InvalidMask::InvalidMask(const QString &mask, qsizetype position)
    : std::runtime_error(QStringLiteral("'%1' is an invalid mask at (%2)").arg(mask).arg(position).toStdString())
{
}

bool matchesMaskWithSets(const QString &name, const QString &mask)
{
    checkMaskWithSets(mask);
    return matchesWithExtensionRule(name, mask, true);
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
