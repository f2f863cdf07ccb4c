#include "HelpFile.h"

#include "help/HelpError.h"
#include "help/MapFile.h"

#include <QHash>
#include <QRegularExpression>
#include <QtEndian>

namespace help {

namespace {

const QString MapObject = QStringLiteral("/Context.h");
const QString AliasObject = QStringLiteral("/Alias.h");
const QString SystemObject = QStringLiteral("/#SYSTEM");

// Codes of the help file's system records.
constexpr quint16 SystemDefaultTopic = 2;
constexpr quint16 SystemTitle = 3;

QString objectPath(const QString &topic)
{
    return topic.startsWith(u'/') ? topic : u'/' + topic;
}

QString recordText(const QByteArray &data)
{
    const qsizetype end = data.indexOf('\0');
    return QString::fromUtf8(end < 0 ? data : data.left(end));
}

QString joinedLines(const QStringList &lines)
{
    QStringList paragraphs;
    QString paragraph;
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty()) {
            if (!paragraph.isEmpty())
                paragraphs << paragraph;
            paragraph.clear();
        } else {
            paragraph += (paragraph.isEmpty() ? QString() : QStringLiteral(" ")) + line.trimmed();
        }
    }
    if (!paragraph.isEmpty())
        paragraphs << paragraph;
    return paragraphs.join(u'\n');
}

} // namespace

std::optional<QString> FindPopupText(const QString &popupFile, int context)
{
    const QStringList lines = popupFile.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    QStringList text;
    bool inTopic = false;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String(".topic"), Qt::CaseInsensitive)) {
            if (inTopic)
                break;
            bool ok = false;
            const int number = line.mid(6).trimmed().toInt(&ok);
            inTopic = ok && number == context;
        } else if (inTopic) {
            text << line;
        }
    }
    if (!inTopic)
        return std::nullopt;
    return joinedLines(text);
}

QList<ContentsEntry> ParseContents(const QString &html)
{
    static const QRegularExpression tokens(
        QStringLiteral(
            "<\\s*(/"
            "?)\\s*(ul|object)\\b[^>]*>|<\\s*param\\s+name\\s*=\\s*\"([^\"]*)\"\\s+value\\s*=\\s*\"([^\"]*)\"[^>]*>"),
        QRegularExpression::CaseInsensitiveOption);
    QList<ContentsEntry> entries;
    int level = -1;
    ContentsEntry entry;
    bool inObject = false;
    for (auto it = tokens.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch token = it.next();
        const bool closing = !token.captured(1).isEmpty();
        const QString tag = token.captured(2).toLower();
        if (tag == QLatin1String("ul")) {
            level += closing ? -1 : 1;
        } else if (tag == QLatin1String("object")) {
            if (!closing) {
                entry = {QString(), QString(), std::max(level, 0)};
                inObject = true;
            } else if (inObject) {
                if (!entry.name.isEmpty())
                    entries << entry;
                inObject = false;
            }
        } else if (inObject) {
            const QString name = token.captured(3);
            if (name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
                entry.name = token.captured(4);
            else if (name.compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0)
                entry.topic = token.captured(4);
        }
    }
    return entries;
}

std::unique_ptr<HelpFile> HelpFile::open(const QString &path)
{
    std::unique_ptr<ChmArchive> archive = ChmArchive::open(path);
    if (!archive)
        return nullptr;
    std::unique_ptr<HelpFile> file(new HelpFile(std::move(archive)));
    file->readSystem();
    file->readContents();
    return file;
}

HelpFile::HelpFile(std::unique_ptr<ChmArchive> archive) : m_archive(std::move(archive))
{
}

void HelpFile::readSystem()
{
    const std::optional<QByteArray> system = m_archive->read(SystemObject);
    if (!system)
        return;
    // A version, then records of a code, a length and that many bytes.
    qsizetype at = 4;
    while (at + 4 <= system->size()) {
        const quint16 code = qFromLittleEndian<quint16>(system->constData() + at);
        const quint16 length = qFromLittleEndian<quint16>(system->constData() + at + 2);
        at += 4;
        if (at + length > system->size())
            break;
        const QString text = recordText(system->mid(at, length));
        if (code == SystemDefaultTopic)
            m_defaultTopic = text;
        else if (code == SystemTitle)
            m_title = text;
        at += length;
    }
}

void HelpFile::readContents()
{
    for (const QString &name : m_archive->files()) {
        if (name.endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive)) {
            if (const std::optional<QByteArray> html = m_archive->read(name))
                m_contents = ParseContents(QString::fromUtf8(*html));
            return;
        }
    }
}

QString HelpFile::defaultTopic() const
{
    if (!m_defaultTopic.isEmpty())
        return m_defaultTopic;
    for (const ContentsEntry &entry : m_contents) {
        if (!entry.topic.isEmpty())
            return entry.topic;
    }
    return {};
}

bool HelpFile::hasTopic(const QString &topic) const
{
    return !topic.isEmpty() && m_archive->contains(objectPath(topic));
}

std::optional<QByteArray> HelpFile::read(const QString &topic) const
{
    return m_archive->read(objectPath(topic));
}

std::optional<QString> HelpFile::popupText(const QString &popupFile, int context) const
{
    const std::optional<QByteArray> data = m_archive->read(objectPath(popupFile));
    if (!data)
        return std::nullopt;
    return FindPopupText(QString::fromUtf8(*data), context);
}

QString HelpFile::topicOfContext(int context) const
{
    const std::optional<QByteArray> map = m_archive->read(MapObject);
    const std::optional<QByteArray> aliases = m_archive->read(AliasObject);
    if (!map || !aliases)
        return {};
    const auto open = [this](const QString &name, const QString &) -> std::optional<MapSource> {
        const std::optional<QByteArray> data = m_archive->read(objectPath(name));
        if (!data)
            return std::nullopt;
        return MapSource{objectPath(name), QString::fromUtf8(*data)};
    };
    QList<MapEntry> names;
    try {
        names = ParseMap({MapObject, QString::fromUtf8(*map)}, open);
    } catch (const EHelpError &) {
        return {};
    }
    QHash<QString, QString> topics;
    for (const QString &line : QString::fromUtf8(*aliases).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            topics.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    for (const MapEntry &entry : std::as_const(names)) {
        if (entry.context != context)
            continue;
        const QString topic = topics.value(entry.name, topics.value(entry.name.section(u'_', 0, 0)));
        if (!topic.isEmpty())
            return topic;
    }
    return {};
}

} // namespace help
