#pragma once

#include "TestFiles.h"
#include "ZipToolCheck.h"

#include <QDir>
#include <QDirIterator>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <map>

namespace splitset {

// Relative path -> contents of every file below root.
inline std::map<QString, QByteArray> treeOf(const QString &root)
{
    std::map<QString, QByteArray> tree;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        tree[QDir(root).relativeFilePath(path)] = testfiles::readBytes(path);
    }
    return tree;
}

// Runs a command line of the shell; its exit code, -1 when it did not end in time.
inline int shell(const QString &commands, QString *output = nullptr)
{
    const auto ran = ziptools::run(QStringLiteral("sh"), {QStringLiteral("-c"), commands}, 60000);
    if (output && ran)
        *output = ran->output;
    return ran ? ran->exitCode : -1;
}

// Restores the self-extracting split set "<base>.exe" in setFolder by each
// of the steps that docs/archives.md gives (a step whose tool is missing is
// passed over), each from its own copy of the folder in work, as a user
// copies it off the backup media, and expects every restore to hold the
// tree expected.
inline void expectRestoredByTheDocumentedSteps(const QString &setFolder, const QString &base, const QString &work,
                                               const std::map<QString, QByteArray> &expected)
{
    struct Step {
        const char *tool;
        QString commands; // %1: the copied set's folder; %2: the folder to restore into; %3: base
    };
    const Step steps[] = {
        {"sh", QStringLiteral("cd '%1' && ./'%3.exe' '%2'")},
        {"7z", QStringLiteral("cd '%1' && cp '%3.exe' '%3.Z01' && 7z x -o'%2' '%3.ZIP'")},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.tool);
        if (QStandardPaths::findExecutable(QString::fromLatin1(step.tool)).isEmpty())
            continue;
        const QString copy = QDir(work).filePath(QStringLiteral("media-") + QString::fromLatin1(step.tool));
        const QString restored = QDir(work).filePath(QStringLiteral("restored-") + QString::fromLatin1(step.tool));
        ASSERT_EQ(shell(QStringLiteral("cp -a '%1' '%2'").arg(setFolder, copy)), 0);
        QString output;
        EXPECT_EQ(shell(step.commands.arg(copy, restored, base), &output), 0) << output.toStdString();
        EXPECT_EQ(treeOf(restored), expected);
    }
}

} // namespace splitset
