#pragma once

#include "platform/RegistryKey.h"
#include "settings/VorrinStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A user of the real programs whose settings, data and runtime folders lie
// in a temporary folder of the test's own, so that a program started here
// touches nothing of the machine's user and finds no other program of the
// suite but those the test starts.
class SuiteUser {
public:
    SuiteUser()
    {
        for (const char *folder : {"config/zentavo", "data", "run", "temp"})
            QDir().mkpath(path(QString::fromLatin1(folder)));
        QFile::setPermissions(path(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        platform::setRegistryFolder(path(QStringLiteral("config/zentavo")));
        // The temporary folder comes first: the load of the main key stops
        // at a temporary folder it cannot read.
        auto key = mainKey();
        key->writeString(QStringLiteral("TempDir"), path(QStringLiteral("temp/")));
        key->flush();
    }
    ~SuiteUser() { platform::setRegistryFolder(QString()); }
    SuiteUser(const SuiteUser &) = delete;
    SuiteUser &operator=(const SuiteUser &) = delete;

    QString path(const QString &relative) const { return dir.filePath(relative); }

    static std::unique_ptr<platform::RegistryKey> mainKey()
    {
        return platform::RegistryKey::open(zentavo::MainKeyPath(), platform::RegistryKey::Mode::OpenOrCreate);
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("run")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }

    std::unique_ptr<QProcess> start(const QString &program, const QStringList &arguments = {}) const
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment());
        process->setWorkingDirectory(dir.path());
        process->start(program, arguments);
        return process;
    }

    // Runs the program to its end: its exit code, or -1 when it did not end
    // in time (it is killed then).
    int run(const QString &program, const QStringList &arguments, int timeoutMs = 60000) const
    {
        const auto process = start(program, arguments);
        if (!process->waitForFinished(timeoutMs)) {
            process->kill();
            process->waitForFinished();
            return -1;
        }
        output = process->readAllStandardOutput();
        errors = process->readAllStandardError();
        return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    }

    QTemporaryDir dir;
    // What the last program run wrote to standard output and standard error.
    mutable QByteArray output;
    mutable QByteArray errors;
};
