#include "MapFile.h"

#include "help/HelpError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <limits>

namespace help {

namespace {

std::optional<qint32> contextNumber(const QString &text)
{
    bool ok = false;
    const qint64 value = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toLongLong(&ok, 16)
                                                                                   : text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return qint32(quint32(value));
}

QString withoutComment(QString line)
{
    for (const QLatin1String mark : {QLatin1String("//"), QLatin1String(";")}) {
        const qsizetype at = line.indexOf(mark);
        if (at >= 0)
            line.truncate(at);
    }
    return line.trimmed();
}

QString includedName(const QString &rest)
{
    QString name = withoutComment(rest);
    if (name.size() >= 2
        && ((name.front() == u'"' && name.back() == u'"') || (name.front() == u'<' && name.back() == u'>')))
        name = name.mid(1, name.size() - 2);
    return name;
}

class Reader {
public:
    explicit Reader(const MapOpener &open) : m_open(open) {}

    QList<MapEntry> entries;

    void read(const MapSource &source)
    {
        // Only the files being read form a cycle; one file included twice side
        // by side is read twice.
        m_reading << source.key;
        bool inMap = false;
        for (QString line : source.text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
            line = line.trimmed();
            if (line.startsWith(QLatin1String("#include"), Qt::CaseInsensitive)) {
                include(includedName(line.mid(8)), source.key);
            } else if (line.startsWith(QLatin1String("#define"), Qt::CaseInsensitive)) {
                add(withoutComment(line.mid(7)));
            } else if (line.startsWith(u'[')) {
                inMap = line.compare(QLatin1String("[MAP]"), Qt::CaseInsensitive) == 0;
            } else if (inMap) {
                add(withoutComment(line));
            }
        }
        m_reading.removeLast();
    }

private:
    const MapOpener &m_open;
    QStringList m_reading;

    void include(const QString &name, const QString &fromKey)
    {
        const std::optional<MapSource> source = m_open(name, fromKey);
        if (!source)
            throw EHelpError(QStringLiteral("Include file \"") + name + QStringLiteral("\" not found!"));
        if (m_reading.contains(source->key))
            throw EHelpError(QStringLiteral("Include file \"") + name
                             + QStringLiteral("\" includes itself through a cycle of includes!"));
        read(*source);
    }

    void add(const QString &definition)
    {
        static const QRegularExpression parts(QStringLiteral("^(\\S+?)\\s*(?:=|\\s)\\s*(\\S+)$"));
        const QRegularExpressionMatch match = parts.match(definition);
        if (!match.hasMatch())
            return;
        if (const std::optional<qint32> context = contextNumber(match.captured(2)))
            entries.append({match.captured(1), *context});
    }
};

std::optional<MapSource> readFile(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    QFile file(path);
    if (canonical.isEmpty() || !QFileInfo(canonical).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return MapSource{canonical, QString::fromUtf8(file.readAll())};
}

} // namespace

QList<MapEntry> ParseMap(const MapSource &source, const MapOpener &open)
{
    Reader reader(open);
    reader.read(source);
    return reader.entries;
}

QList<MapEntry> ParseMapFile(const QString &path)
{
    const std::optional<MapSource> source = readFile(path);
    if (!source)
        throw EHelpError(QStringLiteral("File ") + path + QStringLiteral(" not found."));
    return ParseMap(*source, [](const QString &name, const QString &fromKey) {
        return readFile(QDir::isAbsolutePath(name) ? name : QFileInfo(fromKey).dir().filePath(name));
    });
}

} // namespace help
