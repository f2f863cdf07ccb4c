#include "LanguageFile.h"

#include "shared/TextEncoding.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QString folded(QStringView name)
{
    return name.trimmed().toString().toCaseFolded();
}

} // namespace

LanguageFile LanguageFile::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

LanguageFile LanguageFile::parse(const QByteArray &bytes)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    LanguageFile result;
    QHash<QString, QString> *section = nullptr;
    const QString text = textencoding::decode(bytes).text;
    // Marks an editor added once too often are no part of the first line.
    QStringView body(text);
    while (body.startsWith(textencoding::MarkCharacter))
        body = body.mid(1);
    for (QStringView line : body.split(lineEnd)) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QStringView name = close < 0 ? line.mid(1) : line.mid(1, close - 1);
            section = &result.m_sections[folded(name)];
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (section == nullptr || equals <= 0)
            continue;
        const QString key = folded(line.left(equals));
        // The first occurrence of a key counts, as a reader scanning the
        // file from the top would find it.
        if (!key.isEmpty() && !section->contains(key))
            section->insert(key, line.mid(equals + 1).trimmed().toString());
    }
    return result;
}

std::optional<QString> LanguageFile::value(QStringView section, QStringView key) const
{
    const auto sectionIt = m_sections.constFind(folded(section));
    if (sectionIt == m_sections.cend())
        return std::nullopt;
    const auto keyIt = sectionIt->constFind(folded(key));
    if (keyIt == sectionIt->cend())
        return std::nullopt;
    return *keyIt;
}

QString LanguageFile::read(QStringView section, QStringView key, const QString &fallback) const
{
    return value(section, key).value_or(fallback);
}
