#include "platform/SafeSave.h"

#include "platform/FileTransfer.h"

#include "ChildProcess.h"
#include "ScarceSpace.h"
#include "TestFiles.h"
#include "Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <atomic>
#include <string_view>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
std::atomic<int> umaskChanges = 0;
}

// Counts every umask() call of this program that changes the mask.
extern "C" mode_t umask(mode_t mask) noexcept
{
    const auto previous = static_cast<mode_t>(::syscall(SYS_umask, mask));
    if (previous != mask)
        ++umaskChanges;
    return previous;
}

#include <gtest/gtest.h>

using namespace testfiles;

namespace {

QStringList leftovers(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".zentavo-"));
}

} // namespace

TEST(SafeSave, ReplacesContentAndKeepsTheModeOfTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings"));
    writeBytes(path, "old");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

    QString error;
    ASSERT_TRUE(platform::saveFile(path, "new content", &error)) << qPrintable(error);
    EXPECT_EQ(readBytes(path), "new content");
    EXPECT_EQ(QFile::permissions(path) & 0xF0FF, // owner, group, others
              QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(leftovers(dir.path()).isEmpty());
}

// A link stays a link, also one to a file not made yet, which the save
// makes; one whose folder is missing (a disk not mounted) fails the save.
TEST(SafeSave, ALinkStaysALinkToTheSavedFile)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("link"));
    for (const char *leadsTo : {"real", "not-yet", "missing/real"}) {
        SCOPED_TRACE(leadsTo);
        const QString target = dir.filePath(QString::fromLatin1(leadsTo));
        const bool exists = leadsTo == std::string_view("real");
        if (exists)
            writeBytes(target, "old");
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(target, link));
        const bool folder = QFileInfo(target).dir().exists();
        EXPECT_EQ(platform::saveFile(link, "new"), folder);
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        if (folder) {
            EXPECT_EQ(readBytes(target), "new");
        }
    }
}

TEST(SafeSave, AFullDiskLeavesTheOldFileByteForByte)
{
    ScarceSpace space;
    const QString path = space.folder() + QStringLiteral("Report.txt");
    const QByteArray old(5200, 'o');
    writeBytes(path, old);
    SKIP_UNLESS_EXHAUSTED(space, 8 * 1024);

    // Through the one-call form and through the device, as streaming
    // writers use it.
    QString error;
    EXPECT_FALSE(platform::saveFile(path, QByteArray(64 * 1024, 'n'), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Report.txt"))) << qPrintable(error);
    {
        platform::SafeSave save(path);
        ASSERT_TRUE(save.open());
        for (int i = 0; i < 16; ++i)
            save.device().write(QByteArray(4096, 'n'));
        EXPECT_FALSE(save.commit());
    }
    EXPECT_EQ(readBytes(path), old);
    EXPECT_TRUE(leftovers(space.folder()).isEmpty());
}

TEST(SafeSave, AFolderThatCannotTakeTheFileFailsWithoutTouchingIt)
{
    QTemporaryDir dir;
    EXPECT_FALSE(platform::saveFile(dir.filePath(QStringLiteral("missing/file")), "x"));
    EXPECT_FALSE(platform::saveFile(QString(), "x"));
}

TEST(SafeSave, ACopyOntoAFullDiskLeavesTheOldTarget)
{
    QTemporaryDir source;
    const QString from = source.filePath(QStringLiteral("big.bin"));
    writeBytes(from, QByteArray(64 * 1024, 'b'));
    ScarceSpace space;
    const QString to = space.folder() + QStringLiteral("big.bin");
    writeBytes(to, "old copy");
    SKIP_UNLESS_EXHAUSTED(space, 8 * 1024);

    EXPECT_FALSE(platform::copyFile(from, to));
    EXPECT_EQ(readBytes(to), "old copy");
    EXPECT_TRUE(leftovers(space.folder()).isEmpty());
}

// A source that ends before its size (a file cut short while it is copied;
// a file of the kernel's, which says 4096 bytes and holds a few) fails the
// copy with that reason and leaves the old target.
TEST(SafeSave, ACopyOfASourceShorterThanItsSizeSaysSoAndLeavesTheOldTarget)
{
    const QString from = QStringLiteral("/sys/devices/system/cpu/online");
    const QFileInfo source(from);
    if (!source.exists() || source.size() <= readBytes(from).size())
        GTEST_SKIP() << "no kernel file that holds less than its size";
    QTemporaryDir target;
    const QString to = target.filePath(QStringLiteral("online"));
    writeBytes(to, "old copy");
    QString error;
    EXPECT_FALSE(platform::copyFile(from, to, nullptr, &error));
    EXPECT_EQ(error, QStringLiteral("The source file became shorter while it was copied"));
    EXPECT_EQ(readBytes(to), "old copy");
    EXPECT_TRUE(leftovers(target.path()).isEmpty());
}

// A save killed before its commit (a destination copy, a report) leaves its
// temporary file; the next save of the same target removes it, while the
// temporary file of a save still under way and those of other targets stay.
TEST(SafeSave, TheNextSaveOfATargetRemovesWhatAKilledSaveLeft)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("Archive.zip"));
    const QString other = dir.filePath(QStringLiteral("Other.zip"));
    for (const QString &path : {target, other}) {
        const childprocess::Result child = childprocess::run([&] {
            platform::SafeSave save(path);
            if (!save.open() || !save.write(QByteArray(4096, 'k')))
                return 1;
            childprocess::killSelf();
        });
        ASSERT_EQ(child.outcome, childprocess::Outcome::Killed);
    }
    const QStringList killed = leftovers(dir.path());
    ASSERT_EQ(killed.size(), 2);
    for (const QString &name : killed)
        EXPECT_TRUE(name.startsWith(QStringLiteral(".Archive.zip.")) || name.startsWith(QStringLiteral(".Other.zip.")))
            << name.toStdString();

    platform::SafeSave live(target);
    ASSERT_TRUE(live.open());
    const QStringList whileOpen = leftovers(dir.path());
    ASSERT_TRUE(platform::saveFile(target, "new"));
    EXPECT_EQ(readBytes(target), "new");
    EXPECT_TRUE(live.write("later") && live.commit()) << qPrintable(live.errorString());
    const QStringList left = leftovers(dir.path());
    ASSERT_EQ(left.size(), 1);
    EXPECT_TRUE(left.first().startsWith(QStringLiteral(".Other.zip."))) << left.first().toStdString();
    EXPECT_EQ(whileOpen.size(), 2);
}

// The umask belongs to the whole process: while a save changed it, a file
// another thread made got the wrong mode. The test program's own umask()
// stands in for the system's, so that every change is seen, not only one
// that happens to meet another thread.
TEST(SafeSave, ANewTargetTakesTheUsualModeWithoutTouchingTheUmask)
{
    QTemporaryDir dir;
    const mode_t mask = ::umask(022);
    umaskChanges = 0;
    const QString target = dir.filePath(QStringLiteral("new"));
    ASSERT_TRUE(platform::saveFile(target, "x"));
    EXPECT_EQ(umaskChanges, 0);
    EXPECT_EQ(QFile::permissions(target) & 0x0FFF,
              QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
    ::umask(mask);
}

// A folder that can be written but not read takes the rename and refuses
// the folder sync: the save then says the file was replaced, never that it
// was left alone.
TEST(SafeSave, AFolderSyncThatFailsAfterTheRenameTellsTheFileWasReplaced)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("drop"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString target = folder + QStringLiteral("/settings");
    writeBytes(target, "old");
    unprivileged::openToAll(dir.path());
    unprivileged::openToAll(target);
    ::chmod(QFile::encodeName(folder).constData(), 0333);

    enum Outcome { Saved = 0, FailedUntouched = 1, FailedReplaced = 2, WrongMessage = 3 };
    const childprocess::Result child = unprivileged::run([&] {
        platform::SafeSave save(target);
        if (!save.open() || !save.write("new"))
            return 10;
        if (save.commit())
            return int(Saved);
        if (!save.replaced())
            return int(FailedUntouched);
        return save.errorString().contains(QStringLiteral("replaced")) ? int(FailedReplaced) : int(WrongMessage);
    });
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    SKIP_IF_NOT_UNPRIVILEGED(child);
    ASSERT_EQ(child.outcome, childprocess::Outcome::Exited);
    EXPECT_EQ(child.exitCode, FailedReplaced);
    EXPECT_EQ(readBytes(target), "new");
}
