#include "RegistryKey.h"

#include "RegistryFormat.h"
#include "SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace platform {

namespace {

QString &registryFolderOverride()
{
    static QString folder;
    return folder;
}

QStringList keyParts(const QString &path)
{
    return path.split(u'\\', Qt::SkipEmptyParts);
}

qint32 asInteger(const QVariant &value)
{
    return static_cast<qint32>(value.typeId() == QMetaType::UInt ? value.toUInt() : quint32(value.toInt()));
}

#ifndef Q_OS_WIN
// The store holds a plain-text mail password: the folder and the file are
// the user's alone, and QSaveFile keeps the file's mode on every save.
bool prepareStoreFile()
{
    const QString fileName = registryFileName();
    const QFileInfo info(fileName);
    if (info.exists())
        return true;
    const QString folder = info.absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder))
            return false;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner)
        || QFileInfo::exists(fileName);
}

#endif

} // namespace

std::optional<registryformat::Damage> registryDamage()
{
#ifdef Q_OS_WIN
    return std::nullopt;
#else
    QFile file(registryFileName());
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        return registryformat::Damage{0, file.errorString()};
    return registryformat::damageOf(file.readAll());
#endif
}

std::unique_ptr<RegistryKey> RegistryKey::empty()
{
    return std::unique_ptr<RegistryKey>(new RegistryKey(nullptr));
}

QString registryFileName()
{
    const QString folder = registryFolderOverride().isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/zentavo")
        : registryFolderOverride();
    return folder + QStringLiteral("/registry");
}

void setRegistryFolder(const QString &folder)
{
    registryFolderOverride() = folder;
}

RegistryKey::RegistryKey(std::unique_ptr<QSettings> settings)
    : m_settings(std::move(settings))
{
}

RegistryKey::~RegistryKey() = default;

std::unique_ptr<RegistryKey> RegistryKey::open(const QString &path, Mode mode)
{
    const QStringList parts = keyParts(path);
    if (parts.isEmpty())
        return nullptr;
#ifdef Q_OS_WIN
    const QString parent = QStringLiteral("HKEY_CURRENT_USER\\") + parts.mid(0, parts.size() - 1).join(u'\\');
    if (mode == Mode::OpenExisting
        && !QSettings(parent, QSettings::NativeFormat).childGroups().contains(parts.last(), Qt::CaseInsensitive))
        return nullptr;
    auto settings = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\") + parts.join(u'\\'),
                                                QSettings::NativeFormat);
    if (settings->status() != QSettings::NoError)
        return nullptr;
#else
    // QSettings keeps a file it failed to read as an empty one in its
    // per-process cache and would write over it later; a damaged store is
    // therefore checked here, before QSettings sees it, and never written.
    if (registryDamage())
        return nullptr;
    if (mode == Mode::OpenExisting ? !QFileInfo::exists(registryFileName()) : !prepareStoreFile())
        return nullptr;
    auto settings = std::make_unique<QSettings>(registryFileName(), registryformat::format());
    if (settings->status() != QSettings::NoError)
        return nullptr;
    // Never the fallback of writing the file in place, which a full disk
    // cuts short: a save replaces the whole file or leaves it.
    settings->setAtomicSyncRequired(true);
    // A key exists when it was created, even empty, or holds anything below it.
    const QString key = parts.join(u'/');
    settings->beginGroup(key);
    const bool exists = !settings->allKeys().isEmpty();
    settings->endGroup();
    if (!exists && !settings->contains(key)) {
        if (mode == Mode::OpenExisting)
            return nullptr;
        settings->setValue(key, QVariant());
        settings->sync();
        if (settings->status() != QSettings::NoError)
            return nullptr;
    }
    settings->beginGroup(key);
#endif
    return std::unique_ptr<RegistryKey>(new RegistryKey(std::move(settings)));
}

std::optional<qint32> RegistryKey::readInteger(const QString &name) const
{
    const QVariant value = m_settings ? m_settings->value(name) : QVariant();
    if (value.typeId() != QMetaType::Int && value.typeId() != QMetaType::UInt)
        return std::nullopt;
    return asInteger(value);
}

std::optional<QString> RegistryKey::readString(const QString &name) const
{
    const QVariant value = m_settings ? m_settings->value(name) : QVariant();
    if (!value.isValid())
        return QString();
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

void RegistryKey::writeInteger(const QString &name, qint32 value)
{
    if (m_settings)
        m_settings->setValue(name, value);
}

void RegistryKey::writeString(const QString &name, const QString &value)
{
    if (m_settings)
        m_settings->setValue(name, value);
}

bool RegistryKey::flush()
{
    if (!m_settings)
        return false;
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError)
        return false;
#ifdef Q_OS_WIN
    return true;
#else
    // QSettings syncs the file before its rename; the rename itself lasts
    // once the folder is synced too.
    return syncFolder(QFileInfo(registryFileName()).absolutePath());
#endif
}

} // namespace platform
