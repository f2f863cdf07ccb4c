#include "ZipTestSupport.h"

#include "ChildProcess.h"
#include "ScarceSpace.h"
#include "zip/ZACommitJournal.h"
#include "zip/ZATempFile.h"

#include <map>
#include <thread>

using namespace ziptest;

namespace {

constexpr qsizetype FileSize = 300 * 1024;

// Every file of a folder, hidden ones too, by name.
std::map<QString, QByteArray> folderContents(const QString &folder)
{
    std::map<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        files[name] = testfiles::readBytes(QDir(folder).filePath(name));
    return files;
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

void configureSplit(TZABaseArchiver &zip, qint64 volumeSize)
{
    zip.SetSpanningMode(smSplitting);
    zip.SpanningOptions.AdvancedNaming = false;
    zip.SpanningOptions.VolumeSize = vsCustom;
    zip.SpanningOptions.SetCustomVolumeSize(volumeSize);
}

bool waitForFile(const QString &path)
{
    for (int i = 0; i < 1000 && !QFile::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return QFile::exists(path);
}

class ZipOneWriter : public ZipFolders {
protected:
    void writeSources(const QStringList &names, quint32 seed, qsizetype size = FileSize)
    {
        for (const QString &name : names)
            writeSettledFile(src + name, randomBytes(size, seed++));
    }

    // A source rewritten later than the archive holds it.
    void changeSource(const QString &name, quint32 seed)
    {
        writeFile(src + name, randomBytes(FileSize, seed), QDateTime::currentDateTime().addDays(1));
    }

    void run(TZipArchiver &zip) const
    {
        zip.TempDir = temp;
        zip.Options.OverwriteMode = omIfNewer;
        zip.Options.FlushBuffers = true;
        buildArchive(zip, archive, src);
    }

    void run() const
    {
        TZipArchiver zip;
        run(zip);
    }
};

} // namespace

// Two runs of one job at once: while the first rewrites the archive (its
// tail saved, the archive cut), a second writer that will not wait is
// refused as "in use" and one that waits writes only after the first has
// finished. Neither touches the other's commit, and the archive ends whole.
TEST_F(ZipOneWriter, ASecondWriterWaitsForTheFirstOrIsRefusedAsInUse)
{
    writeSources({QStringLiteral("a.bin"), QStringLiteral("b.bin"), QStringLiteral("c.bin")}, 1);
    run();
    changeSource(QStringLiteral("a.bin"), 50);
    const QString holding = path(QStringLiteral("holding"));

    childprocess::Result first;
    std::thread firstRun([&] {
        first = childprocess::run([&] {
            TZipArchiver zip;
            zip.OnFileProgress
                = [&](TZABaseArchiver &, const QString &, double, TZAProcessOperation, TZAProgressPhase phase, bool &) {
                      if (phase == ppStart && !QFile::exists(holding)) {
                          testfiles::writeBytes(holding, "mid-commit");
                          std::this_thread::sleep_for(std::chrono::milliseconds(1500));
                      }
                  };
            run(zip);
            return 0;
        });
    });
    const bool started = waitForFile(holding);
    writeSources({QStringLiteral("second.bin")}, 70);
    if (started) {
        TZipArchiver hasty;
        hasty.LockWaitMs = 100;
        EXPECT_EQ(nativeErrorOf([&] { run(hasty); }), zaconst::neArchiveInUse);
        TZipArchiver patient;
        patient.LockWaitMs = 30000;
        EXPECT_EQ(nativeErrorOf([&] { run(patient); }), -1);
    }
    firstRun.join();
    ASSERT_TRUE(started);
    EXPECT_EQ(first.outcome, childprocess::Outcome::Exited);
    EXPECT_EQ(first.exitCode, 0);
    expectEverySourceWhole(archive, src);
    EXPECT_EQ(namesIn(path(QStringLiteral("out"))), QStringList{QStringLiteral("backup.zip")});
}

// Made anew, the archive (or set) is built beside the old one: a build that
// fails, is cancelled or is killed leaves the old one byte for byte (a
// killed one's leftovers go with the next run); a build that succeeds
// replaces it, the volumes of the older, longer set included.
TEST_F(ZipOneWriter, AnArchiveMadeAnewReplacesTheOldOneOnlyWhenWhole)
{
    const QString out = path(QStringLiteral("out"));
    const auto visible = [&] {
        std::map<QString, QByteArray> files = folderContents(out);
        std::erase_if(files, [](const auto &file) { return file.first.startsWith(u'.'); });
        return files;
    };
    for (const bool split : {false, true}) {
        SCOPED_TRACE(split ? "a set of volumes" : "one file");
        QDir(src).removeRecursively();
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        const auto anew = [&](TZipArchiver &zip) {
            zip.CreateAnew = true;
            if (split)
                configureSplit(zip, 200 * 1024);
        };
        writeSources({QStringLiteral("old0.bin"), QStringLiteral("old1.bin"), QStringLiteral("old2.bin"),
                      QStringLiteral("old3.bin")},
                     1);
        {
            TZipArchiver zip;
            anew(zip);
            run(zip);
        }
        const auto old = visible();
        ASSERT_EQ(old.size(), split ? 7u : 1u);
        QDir(src).removeRecursively();
        writeSources({QStringLiteral("a.bin"), QStringLiteral("b.bin"), QStringLiteral("c.bin")}, 10);

        struct Case {
            const char *name;
            std::function<void(TZipArchiver &)> setUp;
        };
        const Case failing[] = {{"a failure half-way",
                                 [&](TZipArchiver &zip) {
                                     zip.OnFileProgress = [&](TZABaseArchiver &, const QString &name, double,
                                                              TZAProcessOperation, TZAProgressPhase phase, bool &) {
                                         if (phase == ppStart && name.endsWith(QStringLiteral("c.bin")))
                                             throw EZAException(zaconst::neCannotOpenFile, {}, {name});
                                     };
                                 }},
                                {"cancelled", [&](TZipArchiver &zip) {
                                     zip.OnOverallProgress
                                         = [](TZABaseArchiver &, double progress, TZAProcessOperation, TZAProgressPhase,
                                              bool &cancel) { cancel = progress > 40; };
                                 }}};
        for (const Case &c : failing) {
            SCOPED_TRACE(c.name);
            {
                TZipArchiver zip;
                anew(zip);
                c.setUp(zip);
                try {
                    run(zip);
                } catch (const EZAException &) {
                }
            }
            EXPECT_TRUE(visible() == old);
            EXPECT_EQ(namesIn(out).size(), old.size());
        }

        int killAt = 1;
        for (; killAt < 80; ++killAt) {
            SCOPED_TRACE(killAt);
            const childprocess::Result child = childprocess::run([&] {
                TZipArchiver zip;
                anew(zip);
                ziptest::killSelfAtEvent(zip, killAt);
                run(zip);
                return 0;
            });
            ASSERT_NE(child.outcome, childprocess::Outcome::TimedOut);
            if (child.outcome == childprocess::Outcome::Exited)
                break;
            EXPECT_TRUE(visible() == old);
        }
        EXPECT_GT(killAt, 5) << "the build raised too few events to be killed inside it";

        TZipArchiver zip;
        anew(zip);
        run(zip);
        const QStringList names = namesIn(out);
        if (!split) {
            expectEverySourceWhole(archive, src);
            EXPECT_EQ(names, QStringList{QStringLiteral("backup.zip")});
            continue;
        }
        EXPECT_EQ(names,
                  (QStringList{QStringLiteral("backup.z01"), QStringLiteral("backup.z02"), QStringLiteral("backup.z03"),
                               QStringLiteral("backup.z04"), QStringLiteral("backup.zip")}));
        if (const auto test = ziptools::run(QStringLiteral("7z"), {QStringLiteral("t"), archive})) {
            EXPECT_EQ(test->exitCode, 0) << test->output.toStdString();
            EXPECT_TRUE(test->output.contains(QStringLiteral("Files: 3"))) << test->output.toStdString();
        }
    }
}

// A set whose update fails (a full disk), is cancelled (while the kept
// entries are copied back) or aborted (a volume refused) keeps every
// volume byte for byte under its own name; nothing else is left.
TEST_F(ZipOneWriter, AFailedUpdateOfASetLeavesEveryVolumeAsItWas)
{
    enum class Way { FullDisk, Cancel, Abort };
    for (const Way way : {Way::FullDisk, Way::Cancel, Way::Abort}) {
        SCOPED_TRACE(int(way));
        ScarceSpace space;
        if (way == Way::FullDisk && !space.mounted())
            GTEST_SKIP() << "a full disk of its own needs root";
        const QString folder = space.mounted() ? space.folder() : path(QStringLiteral("set%1/").arg(int(way)));
        QDir().mkpath(folder);
        const QString setArchive = folder + QStringLiteral("data.zip");
        QDir(src).removeRecursively();
        writeSources({QStringLiteral("p0.bin"), QStringLiteral("p1.bin"), QStringLiteral("p2.bin")}, 1, 60000);
        const auto update = [&](TZipArchiver &zip) {
            configureSplit(zip, 65536);
            zip.TempDir = temp;
            zip.Options.OverwriteMode = omIfNewer;
            buildArchive(zip, setArchive, src);
        };
        {
            TZipArchiver zip;
            update(zip);
        }
        const auto before = folderContents(folder);
        ASSERT_GE(before.size(), 3u);

        if (way == Way::FullDisk) {
            writeSources({QStringLiteral("p3.bin")}, 20, 400000);
            ASSERT_TRUE(space.exhaust(100 * 1024)) << qPrintable(space.reason());
        } else {
            // The first entry changes: every volume is rewritten.
            writeFile(src + QStringLiteral("p0.bin"), randomBytes(60000, 30), QDateTime::currentDateTime().addDays(1));
        }
        QString failure;
        {
            TZipArchiver zip;
            zip.OnProcessFileFailure = [&](TZABaseArchiver &, const QString &, TZAProcessOperation, int, int,
                                           const QString &message, TZAAction &action) {
                failure = message;
                action = fxaAbort;
            };
            int copies = 0;
            if (way == Way::Cancel)
                zip.OnCopyTempFileProgress = [&](TZABaseArchiver &, double, TZAProgressPhase phase, bool &cancel) {
                    cancel = phase == ppStart && ++copies == 2;
                };
            if (way == Way::Abort)
                zip.OnRequestBlankVolume = [](TZABaseArchiver &, int number, QString &name, bool &) {
                    if (number == 3)
                        name.clear();
                };
            try {
                update(zip);
            } catch (const EZAException &e) {
                failure = e.Message();
            }
        }
        // A fixed disk is full, not waiting for the next one.
        if (way == Way::FullDisk) {
            EXPECT_EQ(failure,
                      QStringLiteral("Cannot write to \"%1\": No space left on device - Native error: 00065")
                          .arg(setArchive));
        }
        std::map<QString, QByteArray> after = folderContents(folder);
        after.erase(QStringLiteral(".filler"));
        std::map<QString, QByteArray> expected = before;
        expected.erase(QStringLiteral(".filler"));
        EXPECT_EQ(after.size(), expected.size());
        for (const auto &[name, bytes] : expected)
            EXPECT_TRUE(after.count(name) && after[name] == bytes) << name.toStdString();
        if (const auto test = ziptools::run(QStringLiteral("7z"), {QStringLiteral("t"), setArchive})) {
            EXPECT_EQ(test->exitCode, 0) << test->output.toStdString();
        }
    }
}

// The saved tail of a commit lies beside the archive, where clearing the
// temporary folder cannot take it. Should it be lost all the same, the next
// open cuts the rewrite short and counts the old entries that went with it.
TEST_F(ZipOneWriter, TheTailLiesBesideTheArchiveAndALostTailIsCounted)
{
    const QStringList names{QStringLiteral("a.bin"), QStringLiteral("b.bin"), QStringLiteral("c.bin"),
                            QStringLiteral("d.bin"), QStringLiteral("e.bin")};
    writeSources(names, 1);
    run();
    changeSource(QStringLiteral("b.bin"), 40);
    const childprocess::Result child = childprocess::run([&] {
        TZipArchiver zip;
        zip.OnFileProgress
            = [&](TZABaseArchiver &, const QString &name, double, TZAProcessOperation, TZAProgressPhase phase, bool &) {
                  if (phase == ppStart && name.endsWith(QStringLiteral("b.bin")))
                      childprocess::killSelf();
              };
        run(zip);
        return 0;
    });
    ASSERT_EQ(child.outcome, childprocess::Outcome::Killed);
    EXPECT_TRUE(QFile::exists(TailFileName(archive)));
    EXPECT_TRUE(leftoverTempFiles(temp).isEmpty());

    QFile::remove(TailFileName(archive));
    TZipArchiver reader;
    reader.FileName = archive;
    reader.OpenArchive();
    ASSERT_NE(reader.DirManager(), nullptr);
    EXPECT_TRUE(reader.DirManager()->Repaired);
    EXPECT_EQ(reader.DirManager()->DroppedEntries, 4);
    ASSERT_EQ(reader.DirManager()->Items.Count(), 1);
    EXPECT_EQ(reader.DirManager()->Items.GetItem(0).FileName, QStringLiteral("a.bin"));
    reader.CloseArchive();
    EXPECT_FALSE(QFile::exists(zajournal::NameFor(archive)));

    run();
    expectEverySourceWhole(archive, src);
}

// What killed writers left beside an archive (a tail no note points to, a
// new archive never put in place, the lock file) goes with its next writer.
TEST_F(ZipOneWriter, WhatAKilledWriterLeftIsRemovedByTheNext)
{
    writeSources({QStringLiteral("a.bin")}, 1);
    run();
    const QString out = path(QStringLiteral("out/"));
    for (const QString &name : {TailFileName(archive), BuildFileName(archive), out + QStringLiteral(".backup.zip.lock"),
                                out + QStringLiteral(".zentavo-new-backup.z01")})
        testfiles::writeBytes(name, "left by a killed writer");
    writeSources({QStringLiteral("b.bin")}, 2);
    run();
    expectEverySourceWhole(archive, src);
    EXPECT_EQ(namesIn(out), QStringList{QStringLiteral("backup.zip")});
}
