#include "platform/FileWriteLock.h"

#include "ChildProcess.h"
#include "TestFiles.h"
#include "Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <thread>

#include <sys/stat.h>

using platform::FileWriteLock;

// A writer in another process holds the lock until it lets go or is
// killed; meanwhile the lock is in use, afterwards the next writer has it,
// and whoever held it last leaves no lock file behind.
TEST(FileWriteLock, AnotherProcessHoldsItUntilItEndsInAnyWay)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("data.zip"));
    const QString holding = dir.filePath(QStringLiteral("holding"));
    for (const bool killed : {false, true}) {
        SCOPED_TRACE(killed ? "killed" : "released");
        QFile::remove(holding);
        childprocess::Result holder;
        std::thread other([&] {
            holder = childprocess::run([&] {
                {
                    const FileWriteLock lock(target, std::chrono::milliseconds(0));
                    if (lock.state() != FileWriteLock::State::Held)
                        return 1;
                    testfiles::writeBytes(holding, "held");
                    std::this_thread::sleep_for(std::chrono::milliseconds(600));
                    if (killed)
                        childprocess::killSelf();
                }
                return 0;
            });
        });
        for (int i = 0; i < 500 && !QFile::exists(holding); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(FileWriteLock(target, std::chrono::milliseconds(50)).state(), FileWriteLock::State::InUse);
        {
            const FileWriteLock waited(target, std::chrono::seconds(20));
            EXPECT_EQ(waited.state(), FileWriteLock::State::Held);
        }
        other.join();
        EXPECT_EQ(holder.outcome, killed ? childprocess::Outcome::Killed : childprocess::Outcome::Exited);
        EXPECT_FALSE(QFile::exists(FileWriteLock::lockFileName(target)));
    }
}

// What else an ordinary user may find under the lock's name. A link, to
// nowhere or to someone's file, gives way to a lock file, and what it led
// to stays as it was; a plain lock file another user left is locked when
// it can be read at all, and otherwise the lock fails with the reason.
TEST(FileWriteLock, ALockNameThatHoldsNoWritableLockFile)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("data.zip"));
    const QString lock = FileWriteLock::lockFileName(target);
    const QString kept = dir.filePath(QStringLiteral("kept.txt"));
    const QString said = dir.filePath(QStringLiteral("said.txt"));
    unprivileged::openToAll(dir.path());
    const struct {
        const char *name;
        std::function<void()> makeLockName;
        FileWriteLock::State state;
        QString failure;
    } cases[] = {
        {"a link to nowhere",
         [&] { QFile::link(dir.filePath(QStringLiteral("gone")), lock); },
         FileWriteLock::State::Held,
         {}},
        {"a link to a file", [&] { QFile::link(kept, lock); }, FileWriteLock::State::Held, {}},
        {"another user's file it may read",
         [&] {
             testfiles::writeBytes(lock, "");
             ::chmod(QFile::encodeName(lock).constData(), 0644);
         },
         FileWriteLock::State::Held,
         {}},
        {"another user's file it may not read",
         [&] {
             testfiles::writeBytes(lock, "");
             ::chmod(QFile::encodeName(lock).constData(), 0600);
         },
         FileWriteLock::State::Failed, QString::fromLocal8Bit(std::strerror(EACCES))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        testfiles::writeBytes(kept, "someone's");
        c.makeLockName();
        const childprocess::Result child = unprivileged::run([&] {
            const FileWriteLock taken(target, std::chrono::milliseconds(0));
            testfiles::writeBytes(said, taken.failure().toUtf8());
            return int(taken.state());
        });
        SKIP_IF_NOT_UNPRIVILEGED(child);
        ASSERT_EQ(child.outcome, childprocess::Outcome::Exited);
        EXPECT_EQ(child.exitCode, int(c.state));
        EXPECT_EQ(QString::fromUtf8(testfiles::readBytes(said)), c.failure);
        EXPECT_EQ(testfiles::readBytes(kept), "someone's");
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("gone"))));
        // Whoever held the lock removed its file on the way out.
        EXPECT_EQ(QFileInfo(lock).exists() || QFileInfo(lock).isSymLink(), c.state == FileWriteLock::State::Failed);
        QFile::remove(lock);
    }
}

// Writers that name one file through links (relative, absolute, a chain)
// and by its own name take one lock, beside the file; a link to a file not
// made yet locks where the file will be.
TEST(FileWriteLock, WritersThroughALinkAndByTheFilesNameTakeOneLock)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("disk")));
    const QString target = dir.filePath(QStringLiteral("disk/data.zip"));
    testfiles::writeBytes(target, "archive");
    ASSERT_TRUE(QFile::link(QStringLiteral("disk/data.zip"), dir.filePath(QStringLiteral("relative.zip"))));
    ASSERT_TRUE(QFile::link(target, dir.filePath(QStringLiteral("absolute.zip"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("relative.zip")), dir.filePath(QStringLiteral("chain.zip"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("disk/new.zip")), dir.filePath(QStringLiteral("new.zip"))));
    struct Case {
        const char *name;
        QString target;
    };
    const Case cases[] = {{"relative.zip", target},
                          {"absolute.zip", target},
                          {"chain.zip", target},
                          {"new.zip", dir.filePath(QStringLiteral("disk/new.zip"))}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString link = dir.filePath(QString::fromLatin1(c.name));
        EXPECT_EQ(FileWriteLock::lockFileName(link), FileWriteLock::lockFileName(c.target));
        const FileWriteLock throughTheLink(link, std::chrono::milliseconds(0));
        ASSERT_EQ(throughTheLink.state(), FileWriteLock::State::Held);
        EXPECT_EQ(FileWriteLock(c.target, std::chrono::milliseconds(0)).state(), FileWriteLock::State::InUse);
    }
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("new.zip"))).isSymLink());
}
