#include "PageTexts.h"

#include "platform/Paths.h"
#include "shared/ConstStr.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace pelvo {

namespace {

constexpr QStringView CopyKey = u"CCPY ";
constexpr QStringView DeleteKey = u"CDEL ";
constexpr QStringView RenameKey = u"CREN ";

QString quoted(const QString &path)
{
    return u'"' + path + u'"';
}

} // namespace

QString DaysText(const QString &days, const QString &everyDay)
{
    if (days.isEmpty())
        return everyDay;
    QStringList names;
    for (const QChar digit : days)
        names << zentavo::DayName(digit);
    return names.join(u',');
}

QString DaysOf(const std::array<bool, 7> &checked)
{
    QString days;
    for (int day = 0; day < 7; ++day) {
        if (checked[std::size_t(day)])
            days += QChar(u'0' + day);
    }
    return days;
}

QString WithEvenMark(const QString &path)
{
    if (path.contains(u'?'))
        return path;
    if (platform::endsWithSeparator(path))
        return path.chopped(1) + u'?' + platform::separator();
    return path + u'?';
}

QString WithoutEvenMark(const QString &path)
{
    QString result = path;
    const qsizetype mark = result.indexOf(u'?');
    if (mark >= 0)
        result.remove(mark, 1);
    return result;
}

QString PickerStart(const QString &path)
{
    QString folder = path;
    while (!folder.isEmpty()) {
        if (QFileInfo(folder).isDir())
            return folder;
        const QString parent = platform::folderPart(platform::endsWithSeparator(folder) ? folder.chopped(1) : folder);
        if (parent == folder)
            break;
        folder = parent;
    }
    return QDir::homePath();
}

bool BreaksItsLine(const QString &text)
{
    return text.contains(u'=');
}

CommandKind KindOfCommand(const QString &command)
{
    const QString start = command.left(5).toUpper();
    if (start == CopyKey)
        return CommandKind::Copy;
    if (start == DeleteKey)
        return CommandKind::Delete;
    if (start == RenameKey)
        return CommandKind::Rename;
    return CommandKind::External;
}

QString InternalCommand(CommandKind kind, const QString &from, const QString &to)
{
    const QString target = to.isEmpty() ? QString() : QStringLiteral(" TO ") + quoted(to);
    switch (kind) {
    case CommandKind::Copy: return CopyKey.toString() + quoted(from) + target;
    case CommandKind::Delete: return DeleteKey.toString() + quoted(from);
    case CommandKind::Rename: return RenameKey.toString() + quoted(from) + target;
    case CommandKind::External: break;
    }
    return from;
}

CommandPaths PathsOfCommand(const QString &text)
{
    const QStringList parts = text.split(u'"');
    return {parts.value(1), parts.value(3)};
}

QString CommandDisplayText(const QString &command, const CommandCaptions &captions)
{
    const CommandKind kind = KindOfCommand(command);
    // A hand-made command without its quotes is shown as written.
    if (kind == CommandKind::External || command.count(u'"') < 2)
        return command;
    const CommandPaths paths = PathsOfCommand(command);
    if (kind == CommandKind::Delete)
        return captions.remove + u' ' + command.mid(5);
    const QString caption = kind == CommandKind::Copy ? captions.copy : captions.rename.section(u'/', 0, 0);
    QString text = caption + u' ' + quoted(paths.from);
    if (command.contains(QStringLiteral("\" TO \""), Qt::CaseInsensitive))
        text += u' ' + captions.to + u' ' + quoted(paths.to);
    return text;
}

} // namespace pelvo
