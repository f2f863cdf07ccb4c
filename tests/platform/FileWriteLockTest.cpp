#include "platform/FileWriteLock.h"

#include "ChildProcess.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

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
