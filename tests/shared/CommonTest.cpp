#include "shared/Common.h"

#include "TestFiles.h"
#include "Unprivileged.h"
#include "platform/FileTransfer.h"
#include "shared/ZentavoExt.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <map>

#include <sys/stat.h>
#include <unistd.h>

using namespace zentavo;
using testfiles::readBytes;
using namespace Qt::StringLiterals;

namespace {

// Records what a command shows; can set the stop flag when a chosen file comes up.
class RecordingProgress final : public FileProgress {
public:
    QStringList texts;
    qint64 maximum = -1;
    qint64 position = -1;
    QString stopAt;
    std::atomic<bool> stop{false};

    void showText(const QString &text) override
    {
        texts << text;
        if (!stopAt.isEmpty() && text.startsWith(stopAt))
            stop = true;
    }
    void setGaugeMaximum(qint64 bytes) override { maximum = bytes; }
    void setGaugePosition(qint64 bytes) override { position = bytes; }
};

// The parts of a file that hold data, as the file system tells them.
QList<std::pair<qint64, qint64>> dataParts(QFile &file)
{
    QList<std::pair<qint64, qint64>> parts;
    const int fd = file.handle();
    for (off_t data = ::lseek(fd, 0, SEEK_DATA); data >= 0; data = ::lseek(fd, data, SEEK_DATA)) {
        const off_t hole = ::lseek(fd, data, SEEK_HOLE);
        parts.append({data, hole});
        data = hole;
    }
    return parts;
}

class FileCommands : public ::testing::Test {
protected:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString folder(const QString &relative) const { return path(relative) + u'/'; }

    void write(const QString &relative, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        testfiles::writeBytes(path(relative), bytes);
    }
    QByteArray read(const QString &relative) const { return readBytes(path(relative)); }
    bool exists(const QString &relative) const { return QFileInfo::exists(path(relative)); }
    // Every name below a folder, relative to it, sorted.
    QStringList tree(const QString &relative) const
    {
        QStringList names;
        const QDir root(path(relative));
        QDirIterator it(root.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            names << root.relativeFilePath(it.next());
        names.sort();
        return names;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(FileCommands, BuildFileListPutsFoldersBeforeTheirContent)
{
    write(u"src/b=c.txt"_s, "12345");
    write(u"src/sub/x.doc"_s, "1");
    write(u"src/.hidden"_s, "");
    QStringList list;
    BuildFileList(path(u"src"_s), QString(), true, list);
    EXPECT_EQ(list,
              (QStringList{folder(u"src"_s) + u".hidden=0"_s, folder(u"src"_s) + u"b=c.txt=5"_s, folder(u"src/sub"_s),
                           folder(u"src/sub"_s) + u"x.doc=1"_s}));

    // An empty folder means the job file's folder, and only when there is one.
    QStringList none;
    BuildFileList(QString(), u"*.txt"_s, false, none);
    EXPECT_TRUE(none.isEmpty());
    QStringList beside;
    BuildFileList(QString(), u"*.TXT"_s, false, beside, {folder(u"src"_s)});
    EXPECT_EQ(beside, (QStringList{folder(u"src"_s) + u"b=c.txt=5"_s}));
}

TEST_F(FileCommands, WalkSkipsLinkedFoldersAndSpecialFiles)
{
    write(u"outside/secret.txt"_s, "s");
    write(u"src/a.txt"_s, "a");
    ASSERT_TRUE(QFile::link(path(u"outside"_s), path(u"src/link"_s)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(u"src/pipe"_s)).constData(), 0600), 0);
    EXPECT_TRUE(CopyFiles(path(u"src"_s), folder(u"dst"_s), true));
    EXPECT_EQ(tree(u"dst"_s), QStringList{u"a.txt"_s});
    EXPECT_TRUE(DeleteFiles(path(u"src"_s), true));
    EXPECT_EQ(read(u"outside/secret.txt"_s), QByteArray("s"));
}

// Passed over, but each told once; none fails the command.
TEST_F(FileCommands, WalkTellsEveryEntryItPassesOver)
{
    using Reason = platform::LeftOut::Reason;
    write(u"outside/secret.txt"_s, "s");
    write(u"src/a.txt"_s, "a");
    write(u"src/skip.doc"_s, "not matched");
    ASSERT_TRUE(QFile::link(path(u"outside"_s), path(u"src/linked"_s)));
    ASSERT_TRUE(QFile::link(path(u"gone"_s), path(u"src/dangling"_s)));
    ASSERT_TRUE(QFile::link(path(u"src/loop"_s), path(u"src/loop"_s)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(u"src/pipe"_s)).constData(), 0600), 0);
    const std::map<QString, Reason> expected{{u"linked"_s, Reason::LinkToFolder},
                                             {u"dangling"_s, Reason::DanglingLink},
                                             {u"loop"_s, Reason::LinkLoop},
                                             {u"pipe"_s, Reason::Special}};

    std::map<QString, Reason> told;
    FileCommandScope scope;
    scope.leftOut = [&told](const platform::LeftOut &leftOut) {
        EXPECT_FALSE(told.contains(leftOut.name)) << qPrintable(leftOut.name);
        told[leftOut.name] = leftOut.reason;
    };
    EXPECT_TRUE(CopyFiles(path(u"src"_s), folder(u"dst"_s), true, nullptr, scope));
    EXPECT_EQ(told, expected);
    EXPECT_EQ(tree(u"dst"_s), (QStringList{u"a.txt"_s, u"skip.doc"_s}));

    // Only what the mask would have taken is told.
    told.clear();
    EXPECT_TRUE(CopyFiles(path(u"src/*.doc"_s), folder(u"docs"_s), true, nullptr, scope));
    EXPECT_TRUE(told.empty());
    told.clear();
    EXPECT_TRUE(DeleteFiles(path(u"src"_s), true, nullptr, scope));
    EXPECT_EQ(told, expected);
    EXPECT_EQ(read(u"outside/secret.txt"_s), QByteArray("s"));
}

// A folder the user may not read, or read but not enter, fails each command
// with a line naming it, while the rest is still done.
TEST_F(FileCommands, AFolderTheWalkCannotReadFailsTheCommand)
{
    write(u"src/a.txt"_s, "a");
    write(u"src/closed/in.txt"_s, "c");
    write(u"src/listed/in.txt"_s, "l");
    for (const QString &open : {m_dir.path(), path(u"src"_s), path(u"src/a.txt"_s), path(u"src/closed/in.txt"_s),
                                path(u"src/listed/in.txt"_s)})
        unprivileged::openToAll(open);
    ::chmod(QFile::encodeName(path(u"src/closed"_s)).constData(), 0000);
    ::chmod(QFile::encodeName(path(u"src/listed"_s)).constData(), 0444);

    const std::function<bool(const FileCommandScope &)> commands[] = {
        [&](const FileCommandScope &scope) {
            return CopyFiles(path(u"src"_s), folder(u"copy"_s), true, nullptr, scope);
        },
        [&](const FileCommandScope &scope) {
            return MoveFiles(path(u"src/*.*"_s), folder(u"moved"_s), true, nullptr, scope);
        },
        [&](const FileCommandScope &scope) { return DeleteFiles(path(u"src"_s), true, nullptr, scope); },
    };
    for (const auto &command : commands) {
        const childprocess::Result result = unprivileged::run([&] {
            QStringList told;
            FileCommandScope scope;
            scope.leftOut = [&told](const platform::LeftOut &leftOut) { told << platform::leftOutText(leftOut); };
            const bool done = command(scope);
            const bool named = told.size() == 2 && told.filter(u"/src/closed/"_s).size() == 1
                && told.filter(u"/src/listed/"_s).size() == 1;
            return (done ? 1 : 0) | (named ? 0 : 2);
        });
        SKIP_IF_NOT_UNPRIVILEGED(result);
        EXPECT_EQ(result.exitCode, 0) << "1: the command succeeded, 2: the folders were not named";
    }
    EXPECT_FALSE(exists(u"src/a.txt"_s)) << "what could be read was moved or deleted";
    ::chmod(QFile::encodeName(path(u"src/closed"_s)).constData(), 0700);
    ::chmod(QFile::encodeName(path(u"src/listed"_s)).constData(), 0700);
}

// However the target is spelt, a file copied onto itself is no copy.
TEST_F(FileCommands, CopyOntoItselfFails)
{
    write(u"arc/a.zip"_s, "archive");
    ASSERT_EQ(
        ::link(QFile::encodeName(path(u"arc/a.zip"_s)).constData(), QFile::encodeName(path(u"hard.zip"_s)).constData()),
        0);
    ASSERT_TRUE(QFile::link(path(u"arc"_s), path(u"alias"_s)));
    for (const QString &target :
         {path(u"arc/a.zip"_s), folder(u"arc"_s), path(u"arc/./"_s), folder(u"alias"_s), path(u"hard.zip"_s)}) {
        EXPECT_FALSE(CopyFiles(path(u"arc/a.zip"_s), target, false)) << qPrintable(target);
        EXPECT_EQ(read(u"arc/a.zip"_s), QByteArray("archive"));
    }
}

TEST_F(FileCommands, CopyOntoOneNameOrIntoAFolder)
{
    write(u"data/a.doc"_s, "A");
    write(u"data/b.doc"_s, "B");
    write(u"data/c.txt"_s, "C");
    EXPECT_TRUE(CopyFiles(path(u"data/*.doc"_s), path(u"save"_s), false));
    EXPECT_TRUE(QFileInfo(path(u"save"_s)).isFile());
    EXPECT_EQ(read(u"save"_s), QByteArray("B"));

    EXPECT_TRUE(CopyFiles(path(u"data/*.doc"_s), folder(u"new/deep"_s), false));
    EXPECT_EQ(tree(u"new/deep"_s), (QStringList{u"a.doc"_s, u"b.doc"_s}));
}

TEST_F(FileCommands, CopyOfAFolderRebuildsTheTreeOnlyWhenRecursive)
{
    write(u"data/top.txt"_s, "T");
    write(u"data/sub/mid.txt"_s, "M");
    write(u"data/sub/deeper/low.txt"_s, "L");
    EXPECT_TRUE(CopyFiles(path(u"data"_s), folder(u"flat"_s), false));
    EXPECT_EQ(tree(u"flat"_s), (QStringList{u"sub"_s, u"top.txt"_s}));
    EXPECT_TRUE(CopyFiles(path(u"data"_s), folder(u"full"_s), true));
    EXPECT_EQ(tree(u"full"_s), tree(u"data"_s));
    EXPECT_EQ(read(u"full/sub/deeper/low.txt"_s), QByteArray("L"));

    // A mask applies to folders too: "*.doc" does not enter "sub".
    write(u"data/sub/x.doc"_s, "X");
    write(u"data/y.doc"_s, "Y");
    EXPECT_TRUE(CopyFiles(path(u"data/*.doc"_s), folder(u"docs"_s), true));
    EXPECT_EQ(tree(u"docs"_s), QStringList{u"y.doc"_s});
}

TEST_F(FileCommands, CopyKeepsTimeAndReplacesReadOnlyTargets)
{
    write(u"src/a.txt"_s, "new content");
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1'500'000'000);
    {
        QFile file(path(u"src/a.txt"_s));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    const QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner
        | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ReadGroup;
    QFile::setPermissions(path(u"src/a.txt"_s), permissions);
    write(u"dst/a.txt"_s, "old");
    QFile::setPermissions(path(u"dst/a.txt"_s), QFileDevice::ReadOwner);
    EXPECT_TRUE(CopyFiles(path(u"src/a.txt"_s), path(u"dst"_s), false));
    EXPECT_EQ(read(u"dst/a.txt"_s), QByteArray("new content"));
    EXPECT_EQ(QFileInfo(path(u"dst/a.txt"_s)).lastModified(), stamp);
    EXPECT_EQ(QFileInfo(path(u"dst/a.txt"_s)).permissions(), permissions);
    EXPECT_EQ(tree(u"dst"_s), QStringList{u"a.txt"_s}) << "no temporary file left";

    write(u"src/b.txt"_s, "moved");
    write(u"dst/b.txt"_s, "old");
    QFile::setPermissions(path(u"dst/b.txt"_s), QFileDevice::ReadOwner);
    EXPECT_TRUE(MoveFiles(path(u"src/b.txt"_s), path(u"dst"_s), false));
    EXPECT_EQ(read(u"dst/b.txt"_s), QByteArray("moved"));
    EXPECT_FALSE(exists(u"src/b.txt"_s));
}

TEST_F(FileCommands, NothingMatchingFailsOnlyForCopy)
{
    write(u"src/a.txt"_s, "a");
    EXPECT_FALSE(CopyFiles(path(u"src/*.doc"_s), folder(u"dst"_s), true));
    EXPECT_TRUE(MoveFiles(path(u"src/*.doc"_s), folder(u"dst"_s), true));
    EXPECT_TRUE(DeleteFiles(path(u"src/*.doc"_s), true));
    EXPECT_TRUE(DeleteFiles(path(u"missing/*.*"_s), true));
    EXPECT_EQ(read(u"src/a.txt"_s), QByteArray("a"));
}

TEST_F(FileCommands, EmptySourceTouchesNothing)
{
    write(u"job/job.dat"_s, "job");
    write(u"job/keep.txt"_s, "keep");
    const FileCommandScope scope{folder(u"job"_s)};
    RecordingProgress progress;
    EXPECT_FALSE(DeleteFiles(QString(), true, &progress, scope));
    EXPECT_FALSE(MoveFiles(QString(), folder(u"dst"_s), true, &progress, scope));
    EXPECT_FALSE(CopyFiles(QString(), folder(u"dst"_s), true, &progress, scope));
    EXPECT_FALSE(CopyFiles(path(u"job/keep.txt"_s), QString(), true, &progress, scope));
    EXPECT_EQ(tree(u"job"_s), (QStringList{u"job.dat"_s, u"keep.txt"_s}));
    EXPECT_FALSE(exists(u"dst"_s));
    EXPECT_TRUE(progress.texts.isEmpty());
}

TEST_F(FileCommands, MoveWithANamePattern)
{
    write(u"a/x.txt"_s, "x");
    write(u"a/long name.txt"_s, "l");
    write(u"a/other.doc"_s, "o");
    EXPECT_FALSE(MoveFiles(path(u"a/*.txt"_s), path(u"b/*.bak"_s), false)) << "only a folder target is made";
    EXPECT_EQ(tree(u"a"_s).size(), 3);
    QDir().mkpath(path(u"b"_s));
    EXPECT_TRUE(MoveFiles(path(u"a/*.txt"_s), path(u"b/*.bak"_s), false));
    EXPECT_EQ(tree(u"b"_s), (QStringList{u"long name.bak"_s, u"x.bak"_s}));
    EXPECT_EQ(tree(u"a"_s), QStringList{u"other.doc"_s});

    // A single file takes a new name.
    EXPECT_TRUE(MoveFiles(path(u"a/other.doc"_s), path(u"b/renamed.doc"_s), false));
    EXPECT_EQ(read(u"b/renamed.doc"_s), QByteArray("o"));
}

TEST_F(FileCommands, RecursiveMoveAndDeleteEmptyEveryLevel)
{
    write(u"src/top.txt"_s, "t");
    write(u"src/s1/one.txt"_s, "1");
    write(u"src/s1/s2/two.txt"_s, "2");
    RecordingProgress progress;
    EXPECT_TRUE(MoveFiles(path(u"src"_s), folder(u"dst"_s), true, &progress));
    EXPECT_EQ(tree(u"dst"_s), (QStringList{u"s1"_s, u"s1/one.txt"_s, u"s1/s2"_s, u"s1/s2/two.txt"_s, u"top.txt"_s}));
    EXPECT_TRUE(tree(u"src"_s).isEmpty());
    EXPECT_EQ(progress.Tag, 3);

    EXPECT_TRUE(DeleteFiles(path(u"dst"_s), true));
    EXPECT_TRUE(tree(u"dst"_s).isEmpty());
}

TEST_F(FileCommands, MoveOntoItselfTouchesNothing)
{
    write(u"src/a.txt"_s, "a");
    write(u"src/sub/b.txt"_s, "b");
    EXPECT_TRUE(MoveFiles(path(u"src/a.txt"_s), path(u"src/a.txt"_s), false));
    EXPECT_TRUE(MoveFiles(path(u"src"_s), path(u"src"_s), true));
    EXPECT_EQ(tree(u"src"_s), (QStringList{u"a.txt"_s, u"sub"_s, u"sub/b.txt"_s}));

    // A hard link is the same file: moving one onto the other keeps both names.
    ASSERT_TRUE(
        ::link(QFile::encodeName(path(u"src/a.txt"_s)).constData(), QFile::encodeName(path(u"hard.txt"_s)).constData())
        == 0);
    EXPECT_TRUE(MoveFiles(path(u"src/a.txt"_s), path(u"hard.txt"_s), false));
    EXPECT_EQ(read(u"src/a.txt"_s), QByteArray("a"));
    EXPECT_EQ(read(u"hard.txt"_s), QByteArray("a"));
    // The rename itself would do nothing and succeed: it is no move, said as the copy says it.
    QString error;
    EXPECT_FALSE(platform::moveFile(path(u"src/a.txt"_s), path(u"hard.txt"_s), &error));
    EXPECT_EQ(error, u"The source and the destination are the same file"_s);
}

TEST_F(FileCommands, MoveNeverReplacesItsOwnWork)
{
    // Both names give "ab.t" for the "*" of "*.*": the second must not
    // replace what the first became.
    write(u"a/ab.txt"_s, "first");
    write(u"a/ab.tyy"_s, "second");
    QDir().mkpath(path(u"b"_s));
    EXPECT_FALSE(MoveFiles(path(u"a/*.*"_s), path(u"b/*.bak"_s), false));
    EXPECT_EQ(read(u"b/ab.t.bak"_s), QByteArray("first"));
    EXPECT_EQ(read(u"a/ab.tyy"_s), QByteArray("second"));

    // Nor a source still waiting for its own move.
    write(u"c/f.txt"_s, "upper");
    write(u"c/f.txt.txt"_s, "lower");
    EXPECT_FALSE(MoveFiles(path(u"c/*.txt"_s), path(u"c/*.txt.txt"_s), true));
    EXPECT_EQ(read(u"c/f.txt"_s), QByteArray("upper"));
    EXPECT_EQ(read(u"c/f.txt.txt.txt"_s), QByteArray("lower"));
}

// A folder whose content is moved into a folder inside it would have to go
// into itself, so nothing is moved and the reason is told; a link is no
// way round that. A mask the inner folder does not match moves the files
// into it.
TEST_F(FileCommands, AFolderIsNeverMovedIntoItself)
{
    write(u"src/a.txt"_s, "a");
    write(u"src/sub/b.txt"_s, "b");
    ASSERT_EQ(::symlink(QFile::encodeName(path(u"src"_s)).constData(), QFile::encodeName(path(u"link"_s)).constData()),
              0);
    const struct {
        QString source;
        QString target;
        QString folder; // the folder that would go into itself
    } cases[] = {
        {path(u"src"_s), folder(u"src/sub/deep"_s), folder(u"src/sub"_s)},
        {path(u"src/*.*"_s), folder(u"src/sub"_s), folder(u"src/sub"_s)},
        {path(u"src"_s), folder(u"src/new"_s), folder(u"src/new"_s)},
        {path(u"src"_s), folder(u"link/sub/deep"_s), folder(u"src/sub"_s)},
        {path(u"src/*.*"_s), path(u"src/sub/*.bak"_s), folder(u"src/sub"_s)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        QStringList told;
        FileCommandScope scope;
        scope.failure = [&told](const QString &failure) { told << failure; };
        EXPECT_FALSE(MoveFiles(c.source, c.target, true, nullptr, scope));
        const QString target = c.target.endsWith(u'/') ? c.target : path(u"src/sub/"_s);
        EXPECT_EQ(
            told,
            QStringList{u"Cannot move \"%1\" to \"%2\": A folder cannot be moved into itself"_s.arg(c.folder, target)});
        EXPECT_EQ(tree(u"src"_s), (QStringList{u"a.txt"_s, u"sub"_s, u"sub/b.txt"_s}));
    }

    EXPECT_TRUE(MoveFiles(path(u"src/*.txt"_s), folder(u"src/sub"_s), true));
    EXPECT_EQ(tree(u"src"_s), (QStringList{u"sub"_s, u"sub/a.txt"_s, u"sub/b.txt"_s}));
}

TEST_F(FileCommands, DeleteByMaskAndByFolder)
{
    write(u"src/a.tmp"_s, "a");
    write(u"src/keep.txt"_s, "k");
    write(u"src/sub.tmp/b.tmp"_s, "b");
    QFile::setPermissions(path(u"src/a.tmp"_s), QFileDevice::ReadOwner);
    // Without recursion a matching folder is listed but not entered, and
    // cannot be removed while it holds files.
    EXPECT_FALSE(DeleteFiles(path(u"src/*.tmp"_s), false));
    EXPECT_EQ(tree(u"src"_s), (QStringList{u"keep.txt"_s, u"sub.tmp"_s, u"sub.tmp/b.tmp"_s}));

    RecordingProgress progress;
    EXPECT_TRUE(DeleteFiles(path(u"src"_s), true, &progress));
    EXPECT_TRUE(QFileInfo(path(u"src"_s)).isDir()) << "the named folder itself stays";
    EXPECT_TRUE(tree(u"src"_s).isEmpty());
    EXPECT_EQ(progress.Tag, 3); // two files and one folder
    EXPECT_TRUE(progress.texts.contains(path(u"src/keep.txt"_s) + u" (1 b)"_s));
}

TEST_F(FileCommands, ProgressCountsFilesAndFailures)
{
    write(u"src/a.txt"_s, "aa");
    write(u"src/b.txt"_s, "bbb");
    write(u"src/c.txt"_s, "c");
    QDir().mkpath(path(u"dst/b.txt"_s)); // a folder where a file should go
    RecordingProgress progress;
    progress.Tag = 7;
    EXPECT_FALSE(CopyFiles(path(u"src/*.txt"_s), folder(u"dst"_s), false, &progress));
    EXPECT_EQ(progress.Tag, 2);
    EXPECT_EQ(progress.maximum, 6);
    EXPECT_EQ(progress.position, 6);
    EXPECT_EQ(
        progress.texts,
        (QStringList{u"Creating files list..."_s, u"a.txt (2 b)"_s, u"b.txt (3 b)"_s, u"c.txt (1 b)"_s, QString()}));
}

// A file a command cannot copy, move or delete is told once, by both names
// where it was to go somewhere, with the system's reason or, for a move
// this command refuses, its own. Each runs as an ordinary user, for
// whom a folder without write permission binds.
TEST_F(FileCommands, AFileThatFailsIsToldWithItsReason)
{
    write(u"blocker"_s, "a file where a folder should be");
    write(u"src/a.txt"_s, "a");
    write(u"fixed/f.txt"_s, "f");
    write(u"twice/ab.txt"_s, "first");
    write(u"twice/ab.tyy"_s, "second");
    write(u"c/f.txt"_s, "upper");
    write(u"c/f.txt.txt"_s, "lower");
    QDirIterator all(m_dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (all.hasNext())
        unprivileged::openToAll(all.next());
    unprivileged::openToAll(m_dir.path());
    ::chmod(QFile::encodeName(path(u"fixed"_s)).constData(), 0555);

    const QString notAFolder = QString::fromLocal8Bit(std::strerror(ENOTDIR));
    const QString denied = QString::fromLocal8Bit(std::strerror(EACCES));
    const struct {
        std::function<bool(const FileCommandScope &)> command;
        QString told;
    } cases[] = {
        {[&](const FileCommandScope &scope) {
             return CopyFiles(path(u"src/a.txt"_s), folder(u"blocker/in"_s), false, nullptr, scope);
         },
         u"Cannot copy \"%1\" to \"%2\": %3 (%2)"_s.arg(path(u"src/a.txt"_s), path(u"blocker/in/a.txt"_s), notAFolder)},
        {[&](const FileCommandScope &scope) {
             return MoveFiles(path(u"src/a.txt"_s), folder(u"blocker/in"_s), false, nullptr, scope);
         },
         u"Cannot move \"%1\" to \"%2\": %3"_s.arg(path(u"src/a.txt"_s), path(u"blocker/in/a.txt"_s), notAFolder)},
        {[&](const FileCommandScope &scope) {
             return MoveFiles(path(u"fixed/f.txt"_s), folder(u"out"_s), false, nullptr, scope);
         },
         u"Cannot move \"%1\" to \"%2\": %3"_s.arg(path(u"fixed/f.txt"_s), path(u"out/f.txt"_s), denied)},
        {[&](const FileCommandScope &scope) { return DeleteFiles(path(u"fixed/f.txt"_s), false, nullptr, scope); },
         u"Cannot delete \"%1\": %2"_s.arg(path(u"fixed/f.txt"_s), denied)},
        {[&](const FileCommandScope &scope) {
             return MoveFiles(path(u"twice/*.*"_s), path(u"out/*.bak"_s), false, nullptr, scope);
         },
         u"Cannot move \"%1\" to \"%2\": Another file of this move went there"_s.arg(path(u"twice/ab.tyy"_s),
                                                                                     path(u"out/ab.t.bak"_s))},
        {[&](const FileCommandScope &scope) {
             return MoveFiles(path(u"c/*.txt"_s), path(u"c/*.txt.txt"_s), true, nullptr, scope);
         },
         u"Cannot move \"%1\" to \"%2\": A file there is still to be moved"_s.arg(path(u"c/f.txt"_s),
                                                                                  path(u"c/f.txt.txt"_s))},
    };
    const QString toldFile = path(u"told.txt"_s);
    for (const auto &c : cases) {
        const childprocess::Result result = unprivileged::run([&] {
            QStringList told;
            FileCommandScope scope;
            scope.failure = [&told](const QString &failure) { told << failure; };
            if (!c.command(scope))
                told << u"failed"_s;
            testfiles::writeBytes(toldFile, told.join(u'\n').toUtf8());
            return 0;
        });
        SKIP_IF_NOT_UNPRIVILEGED(result);
        EXPECT_EQ(QString::fromUtf8(read(u"told.txt"_s)).split(u'\n'), (QStringList{c.told, u"failed"_s}));
    }
    ::chmod(QFile::encodeName(path(u"fixed"_s)).constData(), 0700);
    EXPECT_EQ(read(u"fixed/f.txt"_s), QByteArray("f"));
    EXPECT_EQ(read(u"src/a.txt"_s), QByteArray("a"));
}

TEST_F(FileCommands, StopLeavesWhatWasDoneAndTheRestUntouched)
{
    write(u"src/1.txt"_s, "one");
    write(u"src/2.txt"_s, QByteArray(3 << 20, 'n'));
    write(u"src/3.txt"_s, "three");
    write(u"dst/2.txt"_s, "old two");
    RecordingProgress progress;
    progress.stopAt = u"2.txt"_s; // set while the second file starts
    EXPECT_FALSE(CopyFiles(path(u"src"_s), folder(u"dst"_s), false, &progress, {{}, &progress.stop}));
    EXPECT_EQ(read(u"dst/1.txt"_s), QByteArray("one"));
    EXPECT_EQ(read(u"dst/2.txt"_s), QByteArray("old two"));
    EXPECT_EQ(tree(u"dst"_s), (QStringList{u"1.txt"_s, u"2.txt"_s}));
    EXPECT_EQ(progress.Tag, 1);
    EXPECT_EQ(progress.texts.last(), QString());
}

TEST_F(FileCommands, RunsOfZerosCopyExactly)
{
    const QByteArray content = "head" + QByteArray(3 << 20, '\0') + "tail" + QByteArray(1 << 20, '\0');
    write(u"zeros.bin"_s, content);
    EXPECT_TRUE(CopyFiles(path(u"zeros.bin"_s), path(u"copy.bin"_s), false));
    EXPECT_EQ(read(u"copy.bin"_s), content);
}

TEST_F(FileCommands, CopiesAFileOverFourGigabytesExactly)
{
    const qint64 size = (qint64(5) << 30) + 7;
    const QList<qint64> marks{0, (qint64(4) << 30) + 3, size - 5};
    {
        QFile file(path(u"big.bin"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(size));
        for (qint64 mark : marks) {
            ASSERT_TRUE(file.seek(mark));
            ASSERT_EQ(file.write("mark!"), 5);
        }
    }
    RecordingProgress progress;
    EXPECT_TRUE(CopyFiles(path(u"big.bin"_s), folder(u"dst"_s), false, &progress));
    EXPECT_EQ(progress.maximum, size);

    QFile from(path(u"big.bin"_s));
    QFile to(path(u"dst/big.bin"_s));
    ASSERT_TRUE(from.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    ASSERT_TRUE(to.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    ASSERT_EQ(to.size(), size);
    for (qint64 mark : marks) {
        to.seek(mark);
        EXPECT_EQ(to.read(5), QByteArray("mark!"));
    }
    // Reading gigabytes of holes is slow; outside the parts where either
    // file holds data both read as zeros, so only those parts are compared.
    for (const auto &[begin, end] : dataParts(from) + dataParts(to)) {
        ASSERT_TRUE(from.seek(begin));
        ASSERT_TRUE(to.seek(begin));
        EXPECT_EQ(from.read(end - begin), to.read(end - begin)) << "at " << begin;
    }
}

TEST(WildcardPart, WhatTheStarStandsFor)
{
    EXPECT_EQ(WildcardPart(u"C:/A/*.txt"_s, u"C:/A/x.txt"_s), u"x"_s);
    EXPECT_EQ(WildcardPart(u"/a/*.txt"_s, u"/a/sub/name.txt"_s), u"sub/name"_s);
    EXPECT_EQ(WildcardPart(u"/a/x.txt"_s, u"/a/x.txt"_s), QString());
    EXPECT_EQ(WildcardPart(u"/a/long*.txt"_s, u"/a/x"_s), QString());
}
