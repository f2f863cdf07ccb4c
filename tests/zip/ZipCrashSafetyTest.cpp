#include "ZipTestSupport.h"

#include "ChildProcess.h"
#include "zip/ZACommitJournal.h"
#include "zip/ZAExcept.h"

#include <set>

using namespace ziptest;

namespace {

constexpr qsizetype FileSize = 700 * 1024;
// Far more events than any of the runs below raises.
constexpr int MaxKillPoint = 80;

class ZipCrashSafety : public ZipFolders {
protected:
    void writeSources(const QStringList &names, quint32 seed)
    {
        for (const QString &name : names)
            writeSettledFile(src + name, randomBytes(FileSize, seed++));
    }

    void setUpArchiver(TZipArchiver &zip) const
    {
        zip.TempDir = temp;
        zip.Options.OverwriteMode = omIfNewer;
        zip.Options.FlushBuffers = true;
    }

    // One update of the archive with every source, as a run makes it, in a
    // child that is killed at its killAt-th progress event.
    childprocess::Result updateKilledAt(int killAt) const
    {
        return childprocess::run([&] {
            TZipArchiver zip;
            setUpArchiver(zip);
            ziptest::killSelfAtEvent(zip, killAt);
            buildArchive(zip, archive, src);
            return 0;
        });
    }

    void nextRun() const
    {
        TZipArchiver zip;
        setUpArchiver(zip);
        buildArchive(zip, archive, src);
    }

    std::set<QString> entryNames() const
    {
        TZipArchiver zip;
        zip.FileName = archive;
        zip.OpenArchive();
        std::set<QString> names;
        for (qsizetype i = 0; i < zip.DirManager()->Items.Count(); ++i)
            names.insert(zip.DirManager()->Items.GetItem(i).FileName);
        return names;
    }
};

} // namespace

// A process killed while it writes new entries (into a new archive or after
// the entries of an old one) leaves an archive without a directory. The next
// run rebuilds it from the entries that are whole, archives the others again
// and leaves an archive that every tool reads in full.
TEST_F(ZipCrashSafety, KilledWhileAddingLeavesOnlyWholeEntriesToTheNextRun)
{
    const QString initial = dir.filePath(QStringLiteral("initial.zip"));
    for (const bool firstRun : {true, false}) {
        SCOPED_TRACE(firstRun ? "first run" : "appending");
        QDir(src).removeRecursively();
        writeSources({QStringLiteral("a.bin")}, 1);
        QFile::remove(archive);
        QFile::remove(initial);
        if (!firstRun) {
            nextRun();
            QFile::copy(archive, initial);
        }
        writeSources({QStringLiteral("b.bin"), QStringLiteral("c.bin"), QStringLiteral("d.bin")}, 10);

        int killAt = 1;
        for (; killAt < MaxKillPoint; ++killAt) {
            SCOPED_TRACE(killAt);
            QFile::remove(archive);
            if (!firstRun) {
                ASSERT_TRUE(QFile::copy(initial, archive));
            }
            const childprocess::Result child = updateKilledAt(killAt);
            ASSERT_NE(child.outcome, childprocess::Outcome::TimedOut);
            if (child.outcome == childprocess::Outcome::Exited) {
                EXPECT_EQ(child.exitCode, 0);
                break;
            }
            nextRun();
            expectEverySourceWhole(archive, src);
            if (HasFailure())
                return;
        }
        EXPECT_GT(killAt, 5) << "the run raised too few events to be killed inside it";
    }
}

// A process killed while an update rewrites the archive (an early entry
// replaced, the later ones copied back from the tail file) leaves the old
// archive or the new one to the next open, never less, and no tail or note
// behind.
TEST_F(ZipCrashSafety, KilledWhileRewritingLeavesTheOldArchiveOrTheNew)
{
    const QStringList names{QStringLiteral("a.bin"), QStringLiteral("b.bin"), QStringLiteral("c.bin"),
                            QStringLiteral("d.bin"), QStringLiteral("e.bin")};
    writeSources(names, 1);
    nextRun();
    const QString initial = dir.filePath(QStringLiteral("initial.zip"));
    ASSERT_TRUE(QFile::copy(archive, initial));
    writeFile(src + QStringLiteral("b.bin"), randomBytes(FileSize, 99), QDateTime::currentDateTime().addDays(1));
    // The file deleted from the source lives on in the archive only.
    QFile::remove(src + QStringLiteral("e.bin"));

    int killAt = 1;
    for (; killAt < MaxKillPoint; ++killAt) {
        SCOPED_TRACE(killAt);
        QFile::remove(archive);
        ASSERT_TRUE(QFile::copy(initial, archive));
        const childprocess::Result child = updateKilledAt(killAt);
        ASSERT_NE(child.outcome, childprocess::Outcome::TimedOut);
        if (child.outcome == childprocess::Outcome::Exited)
            break;

        const std::set<QString> all(names.begin(), names.end());
        EXPECT_EQ(entryNames(), all);
        EXPECT_FALSE(QFile::exists(zajournal::NameFor(archive)));
        EXPECT_TRUE(leftoverTempFiles(temp).isEmpty()) << leftoverTempFiles(temp).join(u' ').toStdString();
        EXPECT_EQ(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("backup.zip")});
        expectAcceptedByTools(archive);
        for (const QString &file : leftoverTempFiles(temp))
            QFile::remove(temp + file);
        if (HasFailure())
            return;
    }
    EXPECT_GT(killAt, 5) << "the run raised too few events to be killed inside it";
}

// A kept entry whose local header is damaged is never copied on as if it
// were sound: found on opening, the directory is rebuilt without it and the
// file archived again; found while copying, the commit fails and rolls back.
TEST_F(ZipCrashSafety, DamagedLocalHeaderOfAKeptEntryIsNotCopiedBlindly)
{
    writeSources({QStringLiteral("a.bin"), QStringLiteral("b.bin"), QStringLiteral("c.bin")}, 1);
    nextRun();
    const QString initial = dir.filePath(QStringLiteral("initial.zip"));
    ASSERT_TRUE(QFile::copy(archive, initial));
    writeFile(src + QStringLiteral("a.bin"), randomBytes(FileSize, 50), QDateTime::currentDateTime().addDays(1));

    const auto damageSecondEntry = [&] {
        TZipArchiver reader;
        reader.FileName = archive;
        reader.OpenArchiveMode(TZAFileMode::ReadOnlyDenyNone);
        const qint64 offset = qint64(reader.DirManager()->Items.GetItem(1).LocalHeaderOffset);
        reader.CloseArchive();
        QFile file(archive);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(offset);
        file.write("PK\x03\x05", 4);
    };

    {
        SCOPED_TRACE("damaged before the run");
        damageSecondEntry();
        TZipArchiver strict;
        strict.FileName = archive;
        strict.RepairDirectoryOnOpen = false;
        EXPECT_EQ(nativeErrorOf([&] { strict.OpenArchive(); }), zaconst::neDamagedDirectory);

        nextRun();
        expectEverySourceWhole(archive, src);
    }
    {
        SCOPED_TRACE("damaged while the run copies");
        QFile::remove(archive);
        ASSERT_TRUE(QFile::copy(initial, archive));
        TZipArchiver zip;
        setUpArchiver(zip);
        zip.FileName = archive;
        zip.BaseDir = src;
        zip.FileMasks = {QStringLiteral("*.*")};
        zip.OpenArchive();
        zip.BeginUpdate();
        damageSecondEntry();
        const QByteArray before = testfiles::readBytes(archive);
        EXPECT_EQ(nativeErrorOf([&] {
                      zip.AddFiles();
                      zip.EndUpdate();
                  }),
                  zaconst::neInvalidArchive);
        zip.CloseArchive();
        EXPECT_EQ(testfiles::readBytes(archive), before);
        EXPECT_TRUE(leftoverTempFiles(temp).isEmpty());
    }
}

// A note left by a commit whose tail went missing cannot be acted on; it
// is dropped and the archive read as it is.
TEST_F(ZipCrashSafety, NoteWithoutItsTailIsDropped)
{
    writeSources({QStringLiteral("a.bin")}, 1);
    nextRun();
    zajournal::Write(archive, {temp + QStringLiteral("FCgone"), 10, 1000});
    EXPECT_EQ(entryNames(), std::set<QString>{QStringLiteral("a.bin")});
    EXPECT_FALSE(QFile::exists(zajournal::NameFor(archive)));
    expectAcceptedByTools(archive);
}
