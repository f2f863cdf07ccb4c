#include "RegistryKey.h"

#include "RegistryFormat.h"
#include "SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
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
// the user's alone, and the durable replace keeps the file's mode on every save.
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

#ifdef Q_OS_WIN
struct RegistryKey::Store {
    std::unique_ptr<QSettings> settings;

    QVariant value(const QString &name) const { return settings->value(name); }
    void setValue(const QString &name, const QVariant &value) { settings->setValue(name, value); }
    bool flush()
    {
        settings->sync();
        return settings->status() == QSettings::NoError;
    }
};
#else
// The whole store as read at open, and this key's writes since. A flush
// merges the writes into the file as it is then (another program may have
// saved meanwhile), under the store's lock.
struct RegistryKey::Store {
    QString key; // "A/B", as the map spells it
    QSettings::SettingsMap read;
    QSettings::SettingsMap written;

    QString entry(const QString &name) const { return key + u'/' + name; }
    QVariant value(const QString &name) const
    {
        const QString full = entry(name);
        const auto found = written.constFind(full);
        return found != written.cend() ? *found : read.value(full);
    }
    void setValue(const QString &name, const QVariant &value) { written.insert(entry(name), value); }

    bool flush()
    {
        if (written.isEmpty())
            return true;
        QLockFile lock(registryFileName() + QStringLiteral(".lock"));
        if (!lock.tryLock(5000))
            return false;
        std::optional<QSettings::SettingsMap> current = readStore();
        if (!current)
            return false;
        for (auto it = written.cbegin(); it != written.cend(); ++it)
            current->insert(it.key(), it.value());
        const std::optional<QByteArray> text = registryformat::write(*current);
        if (!text || !saveFile(registryFileName(), *text))
            return false;
        read = std::move(*current);
        written.clear();
        return true;
    }

    // The store file's map; an absent file is an empty store.
    static std::optional<QSettings::SettingsMap> readStore()
    {
        QFile file(registryFileName());
        if (!file.exists())
            return QSettings::SettingsMap();
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QByteArray text = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        return registryformat::parse(text);
    }
};
#endif

RegistryKey::RegistryKey(std::unique_ptr<Store> store)
    : m_store(std::move(store))
{
}

RegistryKey::~RegistryKey() = default;

std::unique_ptr<RegistryKey> RegistryKey::open(const QString &path, Mode mode)
{
    const QStringList parts = keyParts(path);
    if (parts.isEmpty())
        return nullptr;
    auto store = std::make_unique<Store>();
#ifdef Q_OS_WIN
    const QString parent = QStringLiteral("HKEY_CURRENT_USER\\") + parts.mid(0, parts.size() - 1).join(u'\\');
    if (mode == Mode::OpenExisting
        && !QSettings(parent, QSettings::NativeFormat).childGroups().contains(parts.last(), Qt::CaseInsensitive))
        return nullptr;
    store->settings = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\") + parts.join(u'\\'),
                                                  QSettings::NativeFormat);
    if (store->settings->status() != QSettings::NoError)
        return nullptr;
#else
    // A damaged store is never written over: no key opens on it.
    if (registryDamage())
        return nullptr;
    if (mode == Mode::OpenExisting ? !QFileInfo::exists(registryFileName()) : !prepareStoreFile())
        return nullptr;
    std::optional<QSettings::SettingsMap> read = Store::readStore();
    if (!read)
        return nullptr;
    store->key = parts.join(u'/');
    store->read = std::move(*read);
    // A key exists when it was created, even empty, or holds anything below it.
    const QString below = store->key + u'/';
    const auto lower = store->read.lowerBound(below);
    const bool exists = store->read.contains(store->key) || (lower != store->read.cend() && lower.key().startsWith(below));
    if (!exists) {
        if (mode == Mode::OpenExisting)
            return nullptr;
        store->written.insert(store->key, QVariant());
        if (!store->flush())
            return nullptr;
    }
#endif
    return std::unique_ptr<RegistryKey>(new RegistryKey(std::move(store)));
}

std::optional<qint32> RegistryKey::readInteger(const QString &name) const
{
    const QVariant value = m_store ? m_store->value(name) : QVariant();
    if (value.typeId() != QMetaType::Int && value.typeId() != QMetaType::UInt)
        return std::nullopt;
    return asInteger(value);
}

std::optional<QString> RegistryKey::readString(const QString &name) const
{
    const QVariant value = m_store ? m_store->value(name) : QVariant();
    if (!value.isValid())
        return QString();
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

void RegistryKey::writeInteger(const QString &name, qint32 value)
{
    if (m_store)
        m_store->setValue(name, value);
}

void RegistryKey::writeString(const QString &name, const QString &value)
{
    if (m_store)
        m_store->setValue(name, value);
}

bool RegistryKey::flush()
{
    return m_store && m_store->flush();
}

} // namespace platform
