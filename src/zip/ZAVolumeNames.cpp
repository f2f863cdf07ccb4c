#include "ZAVolumeNames.h"

#include "platform/Paths.h"

#include <QFileInfo>

namespace zavolumes {

namespace {

struct NameParts {
    QString folder;
    QString base;
    QString extension;
};

NameParts split(const QString &name)
{
    NameParts parts;
    parts.folder = platform::folderPart(name);
    const QString file = platform::fileNamePart(name);
    const qsizetype dot = file.lastIndexOf(u'.');
    parts.base = dot < 0 ? file : file.left(dot);
    parts.extension = dot < 0 ? QString() : file.mid(dot);
    return parts;
}

QString numbered(const NameParts &parts, int index, const QString &extension)
{
    return parts.folder + parts.base + u'_' + QStringLiteral("%1").arg(index + 1, 3, 10, QChar(u'0')) + extension;
}

} // namespace

bool IsExeName(const QString &name)
{
    return split(name).extension.toLower().contains(u".exe");
}

QString GetVolumeFileName(const QString &name, int index, const Naming &naming)
{
    const NameParts parts = split(name);
    const bool sfx = naming.selfExtracting || IsExeName(name);
    const QString exe = QStringLiteral(".exe");
    if (naming.mode == smSpanning) {
        const QString extension = sfx ? exe : parts.extension;
        return naming.advancedNaming ? numbered(parts, std::max(index, 0), extension)
                                     : parts.folder + parts.base + extension;
    }
    if (naming.mode != smSplitting)
        return name;
    if (index == 0 && sfx)
        return parts.folder + parts.base + exe;
    const QString lastExtension = sfx ? QStringLiteral(".ZIP") : parts.extension;
    if (index >= 0) {
        const bool upper = naming.upperCaseNumbers || (lastExtension.size() > 1 && lastExtension.at(1).isUpper());
        return naming.advancedNaming ? numbered(parts, index, parts.extension)
                                     : parts.folder + parts.base + (upper ? QStringLiteral(".Z") : QStringLiteral(".z"))
                + QStringLiteral("%1").arg(index + 1, 2, 10, QChar(u'0'));
    }
    return sfx ? parts.folder + parts.base + lastExtension : name;
}

QList<VolumeFile> VolumeFilesOnDisk(const QString &name, const Naming &naming)
{
    const auto isFile = [](const QString &path) { return QFileInfo(path).isFile(); };
    QList<VolumeFile> files;
    if (naming.mode == smSplitting) {
        Naming older = naming;
        older.upperCaseNumbers = true;
        for (int index = 0;; ++index) {
            QString volume = GetVolumeFileName(name, index, naming);
            if (!isFile(volume))
                volume = GetVolumeFileName(name, index, older);
            if (!isFile(volume))
                break;
            files.push_back({index, volume});
        }
    }
    const QString last = GetVolumeFileName(name, LastVolume, naming);
    if (isFile(last) && (files.isEmpty() || files.back().path != last))
        files.push_back({LastVolume, last});
    return files;
}

} // namespace zavolumes
