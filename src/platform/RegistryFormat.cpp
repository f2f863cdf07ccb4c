#include "RegistryFormat.h"

#include "platform/FileNames.h"

#include <QList>

namespace platform::registryformat {

namespace {

const QChar KeySeparator = u'\\';
const QChar MapSeparator = u'/';

QString unescaped(QStringView text, bool *ok)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\\') {
            result += c;
            continue;
        }
        if (++i == text.size()) {
            *ok = false;
            return {};
        }
        switch (text.at(i).unicode()) {
        case u'\\': result += u'\\'; break;
        case u'r': result += u'\r'; break;
        case u'n': result += u'\n'; break;
        case u't': result += u'\t'; break;
        default: *ok = false; return {};
        }
    }
    *ok = true;
    return result;
}

QString escaped(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': result += QStringLiteral("\\\\"); break;
        case u'\r': result += QStringLiteral("\\r"); break;
        case u'\n': result += QStringLiteral("\\n"); break;
        case u'\t': result += QStringLiteral("\\t"); break;
        default: result += c;
        }
    }
    return result;
}

bool isValidKeyPath(QStringView path)
{
    if (path.isEmpty() || path.contains(MapSeparator))
        return false;
    const QList<QStringView> parts = path.split(KeySeparator);
    return std::none_of(parts.cbegin(), parts.cend(), [](QStringView part) { return part.isEmpty(); });
}

// A name that would read back as a comment or a key line is refused.
bool isValidName(QStringView name)
{
    return !name.isEmpty() && !name.startsWith(u'#') && !name.startsWith(u'[') && !name.contains(MapSeparator)
        && !name.contains(KeySeparator) && !name.contains(u'=') && !name.contains(u'\n') && !name.contains(u'\r');
}

bool parseValue(QStringView text, QVariant *value)
{
    if (text.startsWith(u"s:")) {
        bool ok = false;
        *value = unescaped(text.mid(2), &ok);
        return ok;
    }
    if (text.startsWith(u"i:")) {
        bool ok = false;
        const qint32 number = text.mid(2).toInt(&ok);
        *value = number;
        return ok;
    }
    return false;
}

// A key and a value of the same path cannot both exist: one would be lost.
bool holdsValueOnPath(const QSettings::SettingsMap &map, const QString &key)
{
    for (qsizetype slash = key.indexOf(MapSeparator); slash >= 0; slash = key.indexOf(MapSeparator, slash + 1))
        if (map.value(key.left(slash)).isValid())
            return true;
    return map.value(key).isValid();
}

bool holdsKeyOnPath(const QSettings::SettingsMap &map, const QString &entry)
{
    if (map.contains(entry))
        return !map.value(entry).isValid();
    const auto below = map.lowerBound(entry + MapSeparator);
    return below != map.cend() && below.key().startsWith(entry + MapSeparator);
}

// At most about 80 characters of a bad line, control characters escaped:
// the line may be megabytes of anything.
QString quoted(QStringView line)
{
    constexpr qsizetype Shown = 80;
    QString quote;
    for (const QChar c : readableFileName(line.trimmed().left(Shown).toString())) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            quote += QStringLiteral("\\x") + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            quote += c;
    }
    if (line.trimmed().size() > Shown)
        quote += QStringLiteral("...");
    return quote;
}

// parse, which leaves the first bad line in damage when it fails.
std::optional<QSettings::SettingsMap> parseOrBlame(const QByteArray &bytes, Damage *damage)
{
    QSettings::SettingsMap map;
    QString section;
    // A value is kept as the bytes it was written with, like a file name
    // (it often is one, from a disk of another system): a byte that is not
    // part of valid UTF-8 survives the next save unchanged.
    const QString text = fileNameFromBytes(bytes);
    int number = 0;
    QStringView line;
    const auto blame = [&]() -> std::optional<QSettings::SettingsMap> {
        if (damage)
            *damage = {number, quoted(line)};
        return std::nullopt;
    };
    for (QStringView whole : QStringView(text).split(u'\n')) {
        ++number;
        line = whole;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']'))
                return blame();
            const QStringView path = line.mid(1, line.size() - 2);
            if (!isValidKeyPath(path))
                return blame();
            section = path.toString().replace(KeySeparator, MapSeparator);
            if (holdsValueOnPath(map, section))
                return blame();
            map.insert(section, QVariant());
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        QVariant value;
        if (section.isEmpty() || equals < 0 || !isValidName(line.left(equals))
            || !parseValue(line.mid(equals + 1), &value))
            return blame();
        const QString entry = section + MapSeparator + line.left(equals).toString();
        if (holdsKeyOnPath(map, entry))
            return blame();
        map.insert(entry, value);
    }
    return map;
}

} // namespace

std::optional<QSettings::SettingsMap> parse(const QByteArray &bytes)
{
    return parseOrBlame(bytes, nullptr);
}

std::optional<Damage> damageOf(const QByteArray &bytes)
{
    Damage damage;
    if (parseOrBlame(bytes, &damage))
        return std::nullopt;
    return damage;
}

std::optional<QByteArray> write(const QSettings::SettingsMap &map)
{
    // Group the entries by key; QMap's order keeps the file stable.
    QMap<QString, QStringList> sections;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const QVariant &value = it.value();
        if (!value.isValid()) {
            sections[it.key()];
            continue;
        }
        const qsizetype slash = it.key().lastIndexOf(MapSeparator);
        if (slash <= 0)
            return std::nullopt;
        const QString name = it.key().mid(slash + 1);
        if (!isValidName(name))
            return std::nullopt;
        QString line;
        if (value.typeId() == QMetaType::Int)
            line = name + QStringLiteral("=i:") + QString::number(value.toInt());
        else if (value.typeId() == QMetaType::QString)
            line = name + QStringLiteral("=s:") + escaped(value.toString());
        else
            return std::nullopt;
        sections[it.key().left(slash)].append(line);
    }
    QString text;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        if (!text.isEmpty())
            text += u'\n';
        text += u'[' + QString(it.key()).replace(MapSeparator, KeySeparator) + QStringLiteral("]\n");
        for (const QString &line : it.value())
            text += line + u'\n';
    }
    return fileNameBytes(text);
}

} // namespace platform::registryformat
