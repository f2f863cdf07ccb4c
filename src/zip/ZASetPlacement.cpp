#include "ZASetPlacement.h"

#include "platform/FileNames.h"
#include "platform/SafeSave.h"
#include "zip/ZAExcept.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

// Names in the plan are bare file names: every file of a set lies in the
// archive's folder.
QByteArray encode(const zaplacement::Plan &plan)
{
    const auto name = [](const QString &path) { return QFileInfo(path).fileName().toUtf8(); };
    QByteArray text = "last=" + name(plan.oldLast) + '\n';
    for (const auto &[from, to] : plan.moves)
        text += "move=" + name(from) + '/' + name(to) + '\n';
    for (const QString &stale : plan.stale)
        text += "stale=" + name(stale) + '\n';
    return text;
}

bool decode(const QByteArray &text, const QDir &folder, zaplacement::Plan &plan)
{
    const auto path = [&folder](const QByteArray &name) { return folder.filePath(QString::fromUtf8(name)); };
    for (const QByteArray &line : text.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        const QByteArray key = line.left(equals);
        const QByteArray value = line.mid(equals + 1);
        if (equals <= 0 || value.isEmpty())
            continue;
        if (key == "last") {
            plan.oldLast = path(value);
        } else if (key == "move") {
            const QList<QByteArray> names = value.split('/');
            if (names.size() != 2)
                return false;
            plan.moves.append({path(names[0]), path(names[1])});
        } else if (key == "stale") {
            plan.stale << path(value);
        }
    }
    return !plan.oldLast.isEmpty() && !plan.moves.isEmpty();
}

void move(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(platform::nativePath(from), platform::nativePath(to), error);
    if (error)
        throw EZAException(zaconst::neCannotCreateFile, {}, {QDir::toNativeSeparators(to)});
}

// Every step can be taken again: while the move that completes the new set
// is still to come, what lies under the old last volume's name is old, and
// a move whose new volume is gone was made already.
void execute(const zaplacement::Plan &plan)
{
    const auto &[lastFrom, lastTo] = plan.moves.back();
    if (!QFileInfo::exists(lastFrom))
        return;
    QFile::remove(plan.oldLast);
    for (qsizetype i = 0; i + 1 < plan.moves.size(); ++i) {
        if (QFileInfo::exists(plan.moves[i].first))
            move(plan.moves[i].first, plan.moves[i].second);
    }
    for (const QString &stale : plan.stale)
        QFile::remove(stale);
    move(lastFrom, lastTo);
}

void finish(const QString &archive, const zaplacement::Plan &plan)
{
    execute(plan);
    const QString folder = QFileInfo(archive).absolutePath();
    if (!platform::syncFolder(folder) || !QFile::remove(zaplacement::NameFor(archive)) || !platform::syncFolder(folder))
        throw EZAException(zaconst::neWriteFailed);
}

} // namespace

namespace zaplacement {

QString NameFor(const QString &archive)
{
    const QFileInfo info(archive);
    return info.absoluteDir().filePath(u'.' + info.fileName() + QStringLiteral(".placing"));
}

void Carry(const QString &archive, const Plan &plan)
{
    const QString name = NameFor(archive);
    if (!platform::saveFile(name, encode(plan)))
        throw EZAException(zaconst::neCannotCreateFile, {}, {QDir::toNativeSeparators(name)});
    finish(archive, plan);
}

void Recover(const QString &archive)
{
    const QString name = NameFor(archive);
    QFile note(name);
    if (!note.open(QIODevice::ReadOnly))
        return;
    Plan plan;
    const bool valid = decode(note.readAll(), QFileInfo(archive).absoluteDir(), plan);
    note.close();
    // A note is written whole before the first step, so one that does not
    // read was never acted on.
    if (!valid) {
        QFile::remove(name);
        return;
    }
    finish(archive, plan);
}

} // namespace zaplacement
