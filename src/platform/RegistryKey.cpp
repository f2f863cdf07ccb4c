#include "RegistryKey.h"

#include "platform/RegistryFormat.h"
#include "platform/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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
bool prepareStoreFile(QString *error)
{
    const QString fileName = registryFileName();
    const QFileInfo info(fileName);
    if (info.exists())
        return true;
    const QString folder = info.absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder)) {
            *error = QStringLiteral("The folder %1 cannot be made").arg(QDir::toNativeSeparators(folder));
            return false;
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner)
        || QFileInfo::exists(fileName))
        return true;
    *error = file.errorString();
    return false;
}

// The lock file tells no reason; writing a small file like it does.
QString writeProbeError(const QString &fileName)
{
    const QByteArray name = QFile::encodeName(fileName);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, S_IRUSR | S_IWUSR);
    QString reason = QStringLiteral("unknown reason");
    if (fd < 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
    } else {
        const char bytes[256] = {};
        for (std::size_t written = 0; written < sizeof bytes;) {
            const ssize_t n = ::write(fd, bytes + written, sizeof bytes - written);
            if (n <= 0) {
                reason = QString::fromLocal8Bit(std::strerror(n < 0 ? errno : ENOSPC));
                break;
            }
            written += std::size_t(n);
        }
        ::close(fd);
        ::unlink(name.constData());
    }
    return reason;
}

QString damageText(const registryformat::Damage &damage)
{
    if (damage.line == 0)
        return damage.text;
    return QStringLiteral("the file is damaged (line %1: %2)").arg(damage.line).arg(damage.text);
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
    QString error;

    QVariant value(const QString &name) const { return settings->value(name); }
    void setValue(const QString &name, const QVariant &value) { settings->setValue(name, value); }
    bool contains(const QString &name) const { return settings->contains(name); }
    bool flush()
    {
        settings->sync();
        error = settings->status() == QSettings::NoError ? QString() : QStringLiteral("The registry cannot be written");
        return error.isEmpty();
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
    QString error; // why the last flush failed

    QString entry(const QString &name) const { return key + u'/' + name; }
    QVariant value(const QString &name) const
    {
        const QString full = entry(name);
        const auto found = written.constFind(full);
        return found != written.cend() ? *found : read.value(full);
    }
    void setValue(const QString &name, const QVariant &value) { written.insert(entry(name), value); }
    bool contains(const QString &name) const { return written.contains(entry(name)) || read.contains(entry(name)); }

    bool fail(const QString &why)
    {
        error = why;
        return false;
    }

    bool flush()
    {
        if (written.isEmpty())
            return true;
        // Only another program's save waits for the lock, for a moment; a
        // folder nobody may write in fails at once.
        const QString folder = QFileInfo(registryFileName()).absolutePath();
        if (!QFileInfo(folder).isWritable())
            return fail(QStringLiteral("The folder %1 cannot be written").arg(QDir::toNativeSeparators(folder)));
        const QString lockName = registryFileName() + QStringLiteral(".lock");
        QLockFile lock(lockName);
        if (!lock.tryLock(5000)) {
            if (lock.error() == QLockFile::LockFailedError)
                return fail(QStringLiteral("Another program keeps the settings file locked"));
            return fail(
                QStringLiteral("The lock file %1 cannot be made: %2")
                    .arg(QDir::toNativeSeparators(lockName), writeProbeError(lockName + QStringLiteral(".probe"))));
        }
        QString why;
        std::optional<QSettings::SettingsMap> current = readStore(&why);
        if (!current)
            return fail(why);
        for (auto it = written.cbegin(); it != written.cend(); ++it)
            current->insert(it.key(), it.value());
        const std::optional<QByteArray> text = registryformat::write(*current);
        if (!text)
            return fail(QStringLiteral("A value cannot be written"));
        if (!saveFile(registryFileName(), *text, &why))
            return fail(why);
        read = std::move(*current);
        written.clear();
        error.clear();
        return true;
    }

    // The store file's map; an absent file is an empty store.
    static std::optional<QSettings::SettingsMap> readStore(QString *error)
    {
        QFile file(registryFileName());
        if (!file.exists())
            return QSettings::SettingsMap();
        if (!file.open(QIODevice::ReadOnly)) {
            *error = file.errorString();
            return std::nullopt;
        }
        const QByteArray text = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            *error = file.errorString();
            return std::nullopt;
        }
        std::optional<QSettings::SettingsMap> map = registryformat::parse(text);
        if (!map)
            *error = damageText(registryformat::damageOf(text).value_or(registryformat::Damage{}));
        return map;
    }
};
#endif

RegistryKey::RegistryKey(std::unique_ptr<Store> store) : m_store(std::move(store))
{
}

RegistryKey::~RegistryKey() = default;

std::unique_ptr<RegistryKey> RegistryKey::open(const QString &path, Mode mode, QString *error)
{
    QString why;
    const auto failed = [&]() -> std::unique_ptr<RegistryKey> {
        if (error)
            *error = why;
        return nullptr;
    };
    const QStringList parts = keyParts(path);
    if (parts.isEmpty())
        return failed();
    auto store = std::make_unique<Store>();
#ifdef Q_OS_WIN
    const QString parent = QStringLiteral("HKEY_CURRENT_USER\\") + parts.mid(0, parts.size() - 1).join(u'\\');
    if (mode == Mode::OpenExisting
        && !QSettings(parent, QSettings::NativeFormat).childGroups().contains(parts.last(), Qt::CaseInsensitive))
        return failed();
    store->settings = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\") + parts.join(u'\\'),
                                                  QSettings::NativeFormat);
    if (store->settings->status() != QSettings::NoError) {
        why = QStringLiteral("The registry cannot be read");
        return failed();
    }
#else
    // A damaged store is never written over: no key opens on it.
    if (const std::optional<registryformat::Damage> damage = registryDamage()) {
        why = damageText(*damage);
        return failed();
    }
    if (mode == Mode::OpenExisting ? !QFileInfo::exists(registryFileName()) : !prepareStoreFile(&why))
        return failed();
    std::optional<QSettings::SettingsMap> read = Store::readStore(&why);
    if (!read)
        return failed();
    store->key = parts.join(u'/');
    store->read = std::move(*read);
    // A key exists when it was created, even empty, or holds anything below it.
    const QString below = store->key + u'/';
    const auto lower = store->read.lowerBound(below);
    const bool exists
        = store->read.contains(store->key) || (lower != store->read.cend() && lower.key().startsWith(below));
    if (!exists) {
        if (mode == Mode::OpenExisting)
            return nullptr;
        store->written.insert(store->key, QVariant());
        if (!store->flush()) {
            why = store->error;
            return failed();
        }
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

bool RegistryKey::holds(const QString &name) const
{
    return m_store && m_store->contains(name);
}

bool RegistryKey::flush()
{
    return m_store && m_store->flush();
}

QString RegistryKey::errorString() const
{
    return m_store ? m_store->error : QStringLiteral("The settings cannot be stored");
}

} // namespace platform
