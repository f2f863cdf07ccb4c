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

namespace {

// True when rest, a path below a folder, is one that cleaning leaves as it
// is: no empty, "." or ".." steps, and no backslash (a separator on Windows).
bool isPlainBelow(QStringView rest)
{
    if (rest.isEmpty() || rest.contains(u'\\'))
        return false;
    for (const QStringView step : rest.tokenize(u'/')) {
        if (step.isEmpty() || step == u"." || step == u"..")
            return false;
    }
    return true;
}

// Cuts the root: a drive ("C:"), a server ("//server/"), or the "/".
QString withoutRoot(QString name)
{
    if (name.size() >= 2 && name.at(1) == u':')
        name = name.mid(2);
    else if (name.startsWith(QStringLiteral("//")))
        name = name.mid(name.indexOf(u'/', 2) + 1);
    while (name.startsWith(u'/'))
        name = name.mid(1);
    return name;
}

} // namespace

QString StoredName(const QString &path, const QString &folder, TZAStorePathMode mode, const QString &searchBase)
{
    return StoredNames(folder, mode, searchBase).Of(path);
}

StoredNames::StoredNames(const QString &folder, TZAStorePathMode mode, const QString &searchBase)
    : m_folderPath(ResolvePath(folder, {}, searchBase))
    , m_mode(mode)
    , m_searchBase(searchBase)
{
}

QString StoredNames::Of(const QString &path) const
{
    // Below the folder, cleaning changes nothing but one trailing "/", and
    // the relative path is what follows the folder.
    if (path.size() > m_folderPath.size() && path.startsWith(m_folderPath)) {
        QStringView rest = QStringView(path).mid(m_folderPath.size());
        if (rest.endsWith(u'/'))
            rest.chop(1);
        if (rest.endsWith(u'.'))
            rest.chop(1);
        if (isPlainBelow(rest)) {
            switch (m_mode) {
            case spNoPath: return withoutRoot(rest.mid(rest.lastIndexOf(u'/') + 1).toString());
            case spRelativePath: return withoutRoot(rest.toString());
            case spFullPath:
            case spFullPathWithDrive: return withoutRoot(path.left(m_folderPath.size() + rest.size()));
            }
        }
    }

    QString full = ResolvePath(m_folderPath, path, m_searchBase);
    if (full.endsWith(u'/'))
        full.chop(1);
    if (full.endsWith(u'.'))
        full.chop(1);

    QString name;
    switch (m_mode) {
    case spNoPath: name = namePart(full); break;
    case spRelativePath: {
        const QString relative = QDir(m_folderPath).relativeFilePath(full);
        const bool outside = relative == QStringLiteral("..") || relative.startsWith(QStringLiteral("../"));
        name = outside ? full : relative;
        break;
    }
    case spFullPath:
    case spFullPathWithDrive: name = full; break;
    }
    return withoutRoot(name);
}

bool MatchesFileMask(const QString &path, const QString &mask, const QString &searchBase)
{
    return FileMask(mask, searchBase).Matches(path);
}

FileMask::FileMask(const QString &mask, const QString &searchBase)
{
    if (mask == QStringLiteral("*.*")) {
        m_kind = Kind::Everything;
        return;
    }
    const QString pattern = withoutSlash(QDir::fromNativeSeparators(mask));
    if (pattern.isEmpty())
        return;
    const MaskPath resolved = ResolveMaskPath(pattern, searchBase, searchBase);
    if (resolved.relative) {
        m_pattern = pattern;
        m_kind = pattern.contains(u'/') ? Kind::RelativePath : Kind::Name;
        if (m_kind == Kind::RelativePath)
            m_base = ResolvePath(searchBase, {}, searchBase);
        return;
    }
    m_kind = Kind::Absolute;
    m_folder = folderOf(resolved.path);
    m_name = namePart(resolved.path);
}

bool FileMask::Matches(const QString &path) const
{
    switch (m_kind) {
    case Kind::Everything: return true;
    case Kind::Nothing: return false;
    case Kind::Name:
    case Kind::RelativePath:
    case Kind::Absolute: break;
    }
    const QString target = withoutSlash(QDir::fromNativeSeparators(path));
    if (m_kind == Kind::Name)
        return platform::matchesMaskWithSets(namePart(target), m_pattern);
    if (m_kind == Kind::RelativePath)
        return platform::matchesMaskWithSets(QDir(m_base).relativeFilePath(target), m_pattern);
    const QStringView targetFolder = QStringView(target).left(target.lastIndexOf(u'/') + 1);
    if (targetFolder.compare(m_folder, TZAHashedStringList::nameCase()) == 0)
        return platform::matchesMaskWithSets(namePart(target), m_name);
    // "folder/*.*" covers the whole tree below the folder.
    return m_name == QStringLiteral("*.*") && targetFolder.startsWith(m_folder, TZAHashedStringList::nameCase());
}

} // namespace zapaths
