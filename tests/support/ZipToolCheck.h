#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <optional>

// Runs an independent ZIP tool over an archive, with a bounded wait.
namespace ziptools {

struct ToolResult {
    int exitCode = -1;
    QString output;
};

// Empty when the program is not installed.
inline std::optional<ToolResult> run(const QString &program, const QStringList &arguments, int timeoutMs = 60000)
{
    const QString path = program.startsWith(u'/') ? program : QStandardPaths::findExecutable(program);
    if (path.isEmpty() || !QFile::exists(path))
        return std::nullopt;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(path, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        return ToolResult{-1, QStringLiteral("timed out")};
    }
    return ToolResult{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                      QString::fromLocal8Bit(process.readAll())};
}

inline std::optional<ToolResult> python(const QString &script, const QStringList &arguments, int timeoutMs = 60000)
{
    return run(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + arguments, timeoutMs);
}

} // namespace ziptools
