#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// Debian's interpreter, which has the packages the tests use (aiosmtpd); the
// first python3 on PATH may be another one.
inline const QString debianPython = QStringLiteral("/usr/bin/python3");

// A script the tests share, kept beside this header.
inline QString supportScript(const char *name)
{
    return QStringLiteral(TEST_SUPPORT_DIR "/") + QString::fromLatin1(name);
}

// Runs a script (a path) to its end with the input on its standard input;
// empty output when it fails or takes longer than a minute.
inline QByteArray runPython(const QString &script, const QByteArray &input)
{
    QProcess process;
    process.start(debianPython, {script});
    if (!process.waitForStarted(10000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        qWarning("%s", process.readAllStandardError().constData());
    return process.readAllStandardOutput();
}
