#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <ctime>

// The process's local time zone is the named one for the life of the
// object (through TZ, which the local time of Qt and of the C library
// reads); the one before comes back afterwards. available() is false when
// the system has no data for the zone.
class LocalTimeZone {
public:
    explicit LocalTimeZone(const char *name)
        : m_saved(qgetenv("TZ"))
        , m_available(QFile::exists(QStringLiteral("/usr/share/zoneinfo/") + QLatin1String(name)))
    {
        qputenv("TZ", name);
        ::tzset();
    }
    ~LocalTimeZone()
    {
        if (m_saved.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", m_saved);
        ::tzset();
    }
    LocalTimeZone(const LocalTimeZone &) = delete;
    LocalTimeZone &operator=(const LocalTimeZone &) = delete;

    bool available() const { return m_available; }

private:
    QByteArray m_saved;
    bool m_available;
};
