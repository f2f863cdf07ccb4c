#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace toolcheck {

struct Result {
    bool found = false;
    int exitCode = -1;
    QString output;
};

// Runs a command-line tool with a bounded wait; found is false when the
// tool is not installed.
inline Result run(const QString &program, const QStringList &arguments, int timeoutMs = 60000)
{
    Result result;
    if (QStandardPaths::findExecutable(program).isEmpty() && !program.startsWith(u'/'))
        return result;
    result.found = true;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAll());
    return result;
}

} // namespace toolcheck
