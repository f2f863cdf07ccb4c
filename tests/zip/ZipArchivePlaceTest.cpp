// Where a writer puts an archive and what it may write without: the lock
// file it cannot open, the set it is killed while putting in place, the
// link its name is.
#include "ZipTestSupport.h"

#include "RenameKill.h"
#include "Unprivileged.h"
#include "platform/FileWriteLock.h"
#include "zip/ZATempFile.h"

#include <unistd.h>

using namespace ziptest;

namespace {

class ZipArchivePlace : public ZipFolders {
protected:
    void writeSources(const QStringList &names, quint32 seed, qsizetype size = 150 * 1024)
    {
        QDir(src).removeRecursively();
        for (const QString &name : names)
            writeFile(src + name, randomBytes(size, seed++));
    }

    void setUp(TZipArchiver &zip, bool split) const
    {
        zip.TempDir = temp;
        zip.CreateAnew = true;
        if (split) {
            zip.SetSpanningMode(smSplitting);
            zip.SpanningOptions.AdvancedNaming = false;
            zip.SpanningOptions.VolumeSize = vsCustom;
            zip.SpanningOptions.SetCustomVolumeSize(200 * 1024);
        }
    }

    void makeAnew(const QString &name, bool split) const
    {
        TZipArchiver zip;
        setUp(zip, split);
        buildArchive(zip, name, src);
    }

    // The names of the entries of the set, as 7z lists them; empty when it
    // does not take the set as whole.
    static QStringList entriesOfWholeSet(const QString &name)
    {
        const auto listed = ziptools::python(QStringLiteral(R"(
import subprocess, sys
t = subprocess.run(["7z", "t", sys.argv[1]], capture_output=True, text=True)
if t.returncode: sys.exit(1)
l = subprocess.run(["7z", "l", "-slt", sys.argv[1]], capture_output=True, text=True).stdout
print("\n".join(sorted(x[7:] for x in l.splitlines() if x.startswith("Path = ") and not x.endswith(".zip"))))
)"),
                                             {name});
        return listed && listed->exitCode == 0 ? listed->output.trimmed().split(u'\n') : QStringList();
    }
};

} // namespace

// A writer killed among the moves that put a new set of volumes in place
// (the old last volume gone, some new volumes moved): the next open of the
// archive, and a recovery without one (a run whose sources are gone),
// leaves one whole set under the archive's name, the old one or the new,
// and nothing of the other.
TEST_F(ZipArchivePlace, AKillWhileANewSetIsPutInPlaceLeavesAWholeSet)
{
    if (QStandardPaths::findExecutable(QStringLiteral("7z")).isEmpty())
        GTEST_SKIP() << "7z checks the sets";
    const QString out = path(QStringLiteral("out"));
    const QStringList oldNames{QStringLiteral("old0.bin"), QStringLiteral("old1.bin"), QStringLiteral("old2.bin"),
                               QStringLiteral("old3.bin")};
    const QStringList newNames{QStringLiteral("a.bin"), QStringLiteral("b.bin"), QStringLiteral("c.bin")};
    int killAt = 1;
    int halfPlaced = 0;
    for (; killAt < 60; ++killAt) {
        SCOPED_TRACE(killAt);
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        writeSources(oldNames, 1);
        makeAnew(archive, true);
        ASSERT_EQ(entriesOfWholeSet(archive), oldNames);
        writeSources(newNames, 10);
        const childprocess::Result child = renamekill::runKilledAtRename(
            [&] {
                makeAnew(archive, true);
                return 0;
            },
            killAt);
        ASSERT_NE(child.outcome, childprocess::Outcome::TimedOut);
        ASSERT_NE(child.outcome, childprocess::Outcome::NotStarted);
        if (child.outcome == childprocess::Outcome::Exited)
            break;
        halfPlaced += QFile::exists(archive) ? 0 : 1;

        const bool reopened = killAt % 2 == 1;
        TZipArchiver next;
        setUp(next, true);
        next.FileName = archive;
        next.CreateAnew = false;
        if (reopened) {
            next.OpenArchive();
            next.CloseArchive();
        } else {
            next.RecoverArchive();
        }
        const QStringList entries = entriesOfWholeSet(archive);
        EXPECT_TRUE(entries == oldNames || entries == newNames) << qPrintable(entries.join(u' '));
        const QStringList left
            = QDir(out).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".zentavo-new-"));
        EXPECT_TRUE(left.isEmpty()) << qPrintable(left.join(u' '));
    }
    EXPECT_LT(killAt, 60) << "the run never ended";
    EXPECT_GE(halfPlaced, 2) << "no kill fell among the moves of the volumes";
}

// An archive whose name is a link to the real one (on another disk) is
// made anew where the link leads: the link stays a link, and the file it
// leads to holds the new archive.
TEST_F(ZipArchivePlace, AnArchiveMadeAnewThroughALinkIsWrittenWhereItLeads)
{
    const QString real = path(QStringLiteral("other/real.zip"));
    QDir().mkpath(path(QStringLiteral("other")));
    writeSources({QStringLiteral("old.bin")}, 1);
    makeAnew(real, false);
    ASSERT_TRUE(QFile::link(real, archive));

    writeSources({QStringLiteral("new.bin")}, 5);
    makeAnew(archive, false);

    EXPECT_TRUE(QFileInfo(archive).isSymLink());
    EXPECT_EQ(QFileInfo(archive).symLinkTarget(), real);
    expectEverySourceWhole(real, src);
    EXPECT_EQ(readWithPython(real).entries.size(), 1);
    EXPECT_EQ(QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{QStringLiteral("backup.zip")});
    EXPECT_EQ(QDir(path(QStringLiteral("other"))).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{QStringLiteral("real.zip")});
}

// A lock file another user left: one this user may read is locked through
// it and the archive written; one this user cannot open at all fails the
// write with a line that names it and why, and the archive stays as it was.
TEST_F(ZipArchivePlace, ALockFileThatCannotBeOpenedFailsTheWriteAndSaysWhy)
{
    writeSources({QStringLiteral("a.bin")}, 1);
    TZipArchiver first;
    buildArchive(first, archive, src);
    writeFile(src + QStringLiteral("b.bin"), randomBytes(1000, 3));
    const QString lock = platform::FileWriteLock::lockFileName(archive);
    for (const QString &folder : {dir.path(), src, path(QStringLiteral("out")), temp})
        unprivileged::openToAll(folder);
    for (const QString &file : {archive, src + QStringLiteral("a.bin"), src + QStringLiteral("b.bin")})
        ::chmod(QFile::encodeName(file).constData(), 0666);
    const struct {
        mode_t mode;
        bool written;
    } cases[] = {{0600, false}, {0644, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        testfiles::writeBytes(lock, "");
        ::chmod(QFile::encodeName(lock).constData(), c.mode);
        const QByteArray before = testfiles::readBytes(archive);
        const QString said = path(QStringLiteral("said.txt"));
        const childprocess::Result child = unprivileged::run([&] {
            TZipArchiver zip;
            zip.TempDir = temp;
            try {
                buildArchive(zip, archive, src);
            } catch (const EZAException &e) {
                testfiles::writeBytes(said, e.Message().toUtf8());
                return int(e.NativeError());
            }
            return 0;
        });
        SKIP_IF_NOT_UNPRIVILEGED(child);
        ASSERT_EQ(child.outcome, childprocess::Outcome::Exited);
        if (c.written) {
            EXPECT_EQ(child.exitCode, 0);
            expectEverySourceWhole(archive, src);
        } else {
            EXPECT_EQ(child.exitCode, zaconst::neCannotLock);
            EXPECT_EQ(QString::fromUtf8(testfiles::readBytes(said)),
                      EZAException(zaconst::neCannotLock, {}, {lock, QString::fromLocal8Bit(std::strerror(EACCES))})
                          .Message());
            EXPECT_EQ(testfiles::readBytes(archive), before);
        }
        QFile::remove(lock);
    }
}
