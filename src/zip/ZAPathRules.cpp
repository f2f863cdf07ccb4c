#include "ZAPathRules.h"

#include "platform/Paths.h"
#include "platform/Wildcard.h"
#include "zip/ZAHashedStringList.h"

#include <QDir>
#include <QFileInfo>

namespace zapaths {

namespace {

QString withSlash(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

QString withoutSlash(const QString &path)
{
    return path.size() > 1 && path.endsWith(u'/') ? path.chopped(1) : path;
}

QString namePart(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}

bool sameFolder(const QString &a, const QString &b)
{
    return a.compare(b, TZAHashedStringList::nameCase()) == 0;
}

} // namespace

QString ResolvePath(const QString &folder, const QString &name, const QString &base)
{
    const QString from = QDir::fromNativeSeparators(base.isEmpty() ? QDir::currentPath() : base);
    const QString dir = QDir::fromNativeSeparators(folder);
    const QString file = QDir::fromNativeSeparators(name);
    const QString anchor = QDir::isAbsolutePath(dir) ? dir : QDir(from).absoluteFilePath(dir);
    if (!file.isEmpty())
        return QDir::cleanPath(QDir::isAbsolutePath(file) ? file : withSlash(anchor) + file);
    return withSlash(QDir::cleanPath(anchor));
}

MaskPath ResolveMaskPath(const QString &mask, const QString &root, const QString &searchBase)
{
    const QString text = QDir::fromNativeSeparators(mask);
    if (text.isEmpty())
        return {};
    const QString rootPath = ResolvePath(root, {}, searchBase);
    if (QDir::isAbsolutePath(text))
        return {text, false};
    if (text.startsWith(QStringLiteral("./")))
        return {rootPath + text.mid(2), false};
    if (text.startsWith(QStringLiteral("../")) || text.contains(QStringLiteral("/../")))
        return {QDir::cleanPath(rootPath + text), false};
    return {rootPath + text, true};
}

QString StoredName(const QString &path, const QString &folder, TZAStorePathMode mode, const QString &searchBase)
{
    const QString folderPath = ResolvePath(folder, {}, searchBase);
    QString full = ResolvePath(folderPath, path, searchBase);
    if (full.endsWith(u'/'))
        full.chop(1);
    if (full.endsWith(u'.'))
        full.chop(1);

    QString name;
    switch (mode) {
    case spNoPath: name = namePart(full); break;
    case spRelativePath: {
        const QString relative = QDir(folderPath).relativeFilePath(full);
        const bool outside = relative == QStringLiteral("..") || relative.startsWith(QStringLiteral("../"));
        name = outside ? full : relative;
        break;
    }
    case spFullPath:
    case spFullPathWithDrive: name = full; break;
    }
    // Cut the root: a drive ("C:"), a server ("//server/"), or the "/".
    if (name.size() >= 2 && name.at(1) == u':')
        name = name.mid(2);
    else if (name.startsWith(QStringLiteral("//")))
        name = name.mid(name.indexOf(u'/', 2) + 1);
    while (name.startsWith(u'/'))
        name = name.mid(1);
    return name;
}

bool MatchesFileMask(const QString &path, const QString &mask, const QString &searchBase)
{
    if (mask == QStringLiteral("*.*"))
        return true;
    const QString target = withoutSlash(QDir::fromNativeSeparators(path));
    const QString pattern = withoutSlash(QDir::fromNativeSeparators(mask));
    if (pattern.isEmpty())
        return false;

    const MaskPath resolved = ResolveMaskPath(pattern, searchBase, searchBase);
    if (resolved.relative) {
        if (!pattern.contains(u'/'))
            return platform::matchesMaskWithSets(namePart(target), pattern);
        const QString relative = QDir(ResolvePath(searchBase, {}, searchBase)).relativeFilePath(target);
        return platform::matchesMaskWithSets(relative, pattern);
    }
    const QString maskFolder = folderOf(resolved.path);
    const QString maskName = namePart(resolved.path);
    const QString targetFolder = folderOf(target);
    if (sameFolder(targetFolder, maskFolder))
        return platform::matchesMaskWithSets(namePart(target), maskName);
    // "folder/*.*" covers the whole tree below the folder.
    return maskName == QStringLiteral("*.*") && targetFolder.startsWith(maskFolder, TZAHashedStringList::nameCase());
}

} // namespace zapaths
