// Entries compressed on a pool of threads: the archive must not depend on the
// number of threads, and failures, cancels and volumes behave as on one.
#include "ZipTestSupport.h"

#include "zip/ZACompressionQueue.h"

#include <QDirIterator>

#include <zlib.h>

#include <future>
#include <initializer_list>
#include <thread>
#include <utility>
#include <vector>

using namespace ziptest;

namespace {

constexpr qint64 MiB = 1 << 20;

QByteArray rawInflate(const QByteArray &deflated, qsizetype size)
{
    QByteArray out(size + 1, '\0');
    z_stream stream{};
    inflateInit2(&stream, -15);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(deflated.constData()));
    stream.avail_in = uInt(deflated.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = inflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    inflateEnd(&stream);
    return result == Z_STREAM_END ? out : QByteArray();
}

QByteArray archiveBytes(const QString &archive)
{
    return testfiles::readBytes(archive);
}

// Sizes around the chunk edges, stored and deflated data, many small files.
QString makeMixedTree(const QString &root)
{
    writeSettledFile(root + QStringLiteral("/empty.dat"), {});
    writeSettledFile(root + QStringLiteral("/one.txt"), "x");
    writeSettledFile(root + QStringLiteral("/exact.bin"), randomBytes(MiB, 1));
    writeSettledFile(root + QStringLiteral("/exact-plus-one.txt"), textBytes(30000).left(MiB + 1));
    writeSettledFile(root + QStringLiteral("/sub/mixed.bin"),
                     textBytes(40000) + randomBytes(MiB + 12345, 2) + textBytes(50000));
    for (int i = 0; i < 40; ++i)
        writeSettledFile(root + QStringLiteral("/many/f%1.txt").arg(i), textBytes(i * 7));
    return root;
}

class ZipParallel : public ZipFolders {
protected:
    void configure(TZipArchiver &zip, int threads, int level = 6) const
    {
        zip.Zip64Mode = zmAuto;
        zip.TempDir = temp;
        zip.SetCompressionMode(level);
        zip.Options.Threads = threads;
        // Folder entries carry the time they were made, which would differ
        // between two archives.
        zip.Options.SearchAttr = 0x28AF;
    }

    // Archives sources once for each thread count into <stem><count>.zip;
    // every archive must be byte for byte the one the first count made.
    void expectTheSameOnEveryThreadCount(const QString &sources, std::initializer_list<int> counts, const QString &stem,
                                         int level = 6) const
    {
        QByteArray first;
        for (int threads : counts) {
            SCOPED_TRACE(threads);
            const QString archive = path(stem + QString::number(threads) + QStringLiteral(".zip"));
            TZipArchiver zip;
            configure(zip, threads, level);
            buildArchive(zip, archive, sources);
            const QByteArray bytes = archiveBytes(archive);
            if (first.isEmpty())
                first = bytes;
            else
                EXPECT_TRUE(bytes == first) << "archive differs from the one made on the first count";
        }
    }
};

} // namespace

// The chunks of an entry come in order and join to one deflate stream; an
// entry the writer passed by is dropped rather than stalling the ones after.
TEST_F(ZipParallel, ThePoolHandsOverChunksInPlanOrderAndSkipsEntriesPassedBy)
{
    const QByteArray a = randomBytes(3 * MiB, 1);
    const QByteArray b = textBytes(70000).left(2 * MiB + MiB / 2) + randomBytes(1000, 2);
    const QByteArray c = "small";
    std::vector<TZAPlannedEntry> plan;
    for (const auto &[name, bytes] : {std::pair{"a", a}, std::pair{"b", b}, std::pair{"c", c}}) {
        const QString file = path(QString::fromLatin1(name));
        writeFile(file, bytes);
        plan.push_back({file, bytes.size(), 6, MiB});
    }
    TZACompressionQueue queue(plan, 3, 2 * MiB);
    ASSERT_TRUE(queue.Begin(path(QStringLiteral("b")), 6, b.size()));
    QByteArray joined;
    uLong crc = 0;
    for (qint64 offset = 0; offset < b.size(); offset += MiB) {
        const TZAChunk chunk = queue.NextChunk();
        ASSERT_EQ(chunk.status, TZAChunkStatus::Ok);
        EXPECT_EQ(chunk.offset, offset);
        EXPECT_EQ(chunk.last(), offset + MiB >= b.size());
        joined += chunk.data;
        crc = crc32_combine(crc, chunk.crc, chunk.length);
    }
    queue.End();
    EXPECT_TRUE(rawInflate(joined, b.size()) == b);
    EXPECT_EQ(crc, crc32(0, reinterpret_cast<const Bytef *>(b.constData()), uInt(b.size())));
    EXPECT_FALSE(queue.Begin(path(QStringLiteral("a")), 6, a.size()));
    ASSERT_TRUE(queue.Begin(path(QStringLiteral("c")), 6, c.size()));
    EXPECT_TRUE(rawInflate(queue.NextChunk().data, c.size()) == c);
}

TEST_F(ZipParallel, TheArchiveIsTheSameWhateverTheNumberOfThreads)
{
    const QString sources = makeMixedTree(path(QStringLiteral("src")));
    for (int level : {0, 1, 6, 9}) {
        SCOPED_TRACE(level);
        expectTheSameOnEveryThreadCount(sources, {1, 2, 8}, QStringLiteral("l%1t").arg(level), level);
        expectAcceptedByTools(path(QStringLiteral("l%1t8.zip").arg(level)));
        const PythonView view = readWithPython(path(QStringLiteral("l%1t8.zip").arg(level)));
        if (view.ran) {
            EXPECT_EQ(view.entry(QStringLiteral("sub/mixed.bin")).value(QStringLiteral("datalen")).toInteger(),
                      QFileInfo(sources + QStringLiteral("/sub/mixed.bin")).size());
            EXPECT_EQ(view.entry(QStringLiteral("exact.bin")).value(QStringLiteral("method")).toInt(),
                      level == 0 ? 0 : 8);
        }
    }
}

// Folders listed ahead of the search on other threads still come in the
// search's own order, nested or side by side.
TEST_F(ZipParallel, ManySmallFilesInManyFoldersGiveTheSameArchive)
{
    const QString sources = path(QStringLiteral("small"));
    for (int i = 0; i < 600; ++i)
        writeSettledFile(sources + QStringLiteral("/d%1/e%2/f%3").arg(i / 40).arg(i % 3).arg(i),
                         QByteArray(1, char('a' + i % 26)));
    expectTheSameOnEveryThreadCount(sources, {1, 3, 8}, QStringLiteral("small"));
    expectAcceptedByTools(path(QStringLiteral("small8.zip")));
}

// A source that is gone or changed when its turn comes, while later entries
// are already compressed, goes through the failure path at its own turn.
TEST_F(ZipParallel, ASourceChangedAfterTheSearchIsHandledAtItsTurn)
{
    const QString sources = path(QStringLiteral("src"));
    writeFile(sources + QStringLiteral("/a.bin"), randomBytes(3 * MiB, 5));
    writeFile(sources + QStringLiteral("/b.txt"), textBytes(100));
    writeFile(sources + QStringLiteral("/c.txt"), textBytes(50000));
    writeFile(sources + QStringLiteral("/d.txt"), textBytes(300));
    writeFile(sources + QStringLiteral("/e.txt"), textBytes(400));

    struct Case {
        const char *name;
        TZAAction answer;
        int failures;
        std::vector<QString> entries;
    };
    const std::vector<Case> cases{
        {"ignored",
         fxaIgnore,
         1,
         {QStringLiteral("a.bin"), QStringLiteral("c.txt"), QStringLiteral("d.txt"), QStringLiteral("e.txt")}},
        {"retried after the file is back",
         fxaRetry,
         1,
         {QStringLiteral("a.bin"), QStringLiteral("b.txt"), QStringLiteral("c.txt"), QStringLiteral("d.txt"),
          QStringLiteral("e.txt")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString archive = path(QStringLiteral("changed.zip"));
        QFile::remove(archive);
        TZipArchiver zip;
        configure(zip, 8);
        std::vector<std::pair<QString, int>> failures;
        zip.OnProcessFileFailure = [&](TZABaseArchiver &, const QString &name, TZAProcessOperation, int native, int,
                                       const QString &, TZAAction &action) {
            failures.emplace_back(QFileInfo(name).fileName(), native);
            action = c.answer;
            if (c.answer == fxaRetry)
                writeFile(sources + QStringLiteral("/b.txt"), textBytes(100));
        };
        zip.FileName = archive;
        zip.BaseDir = sources;
        zip.FileMasks = {QStringLiteral("*.*")};
        zip.OpenArchive();
        zip.BeginUpdate();
        zip.AddFiles();
        // Found, then gone; and one that grew and one that shrank since.
        QFile::remove(sources + QStringLiteral("/b.txt"));
        writeFile(sources + QStringLiteral("/c.txt"), textBytes(60000));
        writeFile(sources + QStringLiteral("/d.txt"), textBytes(10));
        zip.EndUpdate();
        zip.CloseArchive();
        writeFile(sources + QStringLiteral("/b.txt"), textBytes(100));
        writeFile(sources + QStringLiteral("/c.txt"), textBytes(50000));
        writeFile(sources + QStringLiteral("/d.txt"), textBytes(300));

        ASSERT_EQ(failures.size(), std::size_t(c.failures));
        EXPECT_EQ(failures.front(), std::make_pair(QStringLiteral("b.txt"), int(zaconst::neCannotOpenFile)));
        expectAcceptedByTools(archive);
        const PythonView view = readWithPython(archive);
        if (!view.ran)
            continue;
        ASSERT_EQ(view.entries.size(), qsizetype(c.entries.size()));
        for (std::size_t i = 0; i < c.entries.size(); ++i)
            EXPECT_EQ(view.entries.at(qsizetype(i)).toObject().value(QStringLiteral("name")).toString(), c.entries[i]);
        // The changed files are archived as they were when read.
        EXPECT_EQ(view.entry(QStringLiteral("c.txt")).value(QStringLiteral("size")).toInteger(),
                  textBytes(60000).size());
        EXPECT_EQ(view.entry(QStringLiteral("d.txt")).value(QStringLiteral("size")).toInteger(), textBytes(10).size());
    }
}

TEST_F(ZipParallel, ACancelWithAFullQueueRollsTheArchiveBackByteForByte)
{
    const QString sources = path(QStringLiteral("src"));
    for (int i = 0; i < 6; ++i)
        writeFile(sources + QStringLiteral("/old%1.txt").arg(i), textBytes(1000 + i));
    const QString archive = path(QStringLiteral("kept.zip"));
    {
        TZipArchiver zip;
        configure(zip, 8);
        buildArchive(zip, archive, sources);
    }
    const QByteArray before = archiveBytes(archive);
    // More input than the pool holds at once, and a replaced old entry.
    for (int i = 0; i < 30; ++i)
        writeFile(sources + QStringLiteral("/new%1.bin").arg(i, 2, 10, QChar(u'0')), randomBytes(2 * MiB, quint32(i)));
    writeFile(sources + QStringLiteral("/old0.txt"), textBytes(5000));

    for (const int cancelAt : {1, 4, 12}) {
        SCOPED_TRACE(cancelAt);
        TZipArchiver zip;
        configure(zip, 8);
        zip.Options.OverwriteMode = omAlways;
        int started = 0;
        zip.OnFileProgress = [&](TZABaseArchiver &, const QString &, double, TZAProcessOperation,
                                 TZAProgressPhase phase, bool &cancel) {
            if (phase == ppStart && ++started == cancelAt)
                cancel = true;
        };
        buildArchive(zip, archive, sources);
        EXPECT_TRUE(archiveBytes(archive) == before);
        EXPECT_TRUE(leftoverTempFiles(temp).isEmpty());
    }
}

TEST_F(ZipParallel, SplitVolumesAreTheSameWhateverTheNumberOfThreads)
{
    const QString sources = makeMixedTree(path(QStringLiteral("src")));
    std::vector<std::map<QString, QByteArray>> sets;
    for (int threads : {1, 8}) {
        const QString out = path(QStringLiteral("out%1").arg(threads));
        QDir().mkpath(out);
        TZipArchiver zip;
        configure(zip, threads);
        zip.SetSpanningMode(smSplitting);
        zip.SpanningOptions.AdvancedNaming = false;
        zip.SpanningOptions.VolumeSize = vsCustom;
        zip.SpanningOptions.SetCustomVolumeSize(400000);
        buildArchive(zip, out + QStringLiteral("/data.zip"), sources);
        std::map<QString, QByteArray> volumes;
        for (const QString &name : QDir(out).entryList(QDir::Files))
            volumes[name] = archiveBytes(out + u'/' + name);
        sets.push_back(volumes);
    }
    EXPECT_GE(sets.front().size(), 4u);
    EXPECT_TRUE(sets.front() == sets.back());
}

TEST_F(ZipParallel, EncryptedEntriesReadBackWithThePassword)
{
    const QString sources = path(QStringLiteral("src"));
    writeFile(sources + QStringLiteral("/small.txt"), textBytes(100));
    writeFile(sources + QStringLiteral("/chunked.txt"), textBytes(60000));
    writeFile(sources + QStringLiteral("/empty.dat"), {});
    // Beyond what the pool holds at once: made on the writer's thread, its
    // CRC read first. Python decrypts too slowly for it.
    const QString hugeSources = path(QStringLiteral("huge"));
    writeFile(hugeSources + QStringLiteral("/huge.bin"), textBytes(120000).left(4 * MiB) + randomBytes(29 * MiB, 3));
    for (int threads : {1, 8}) {
        SCOPED_TRACE(threads);
        for (const QString &folder : {sources, hugeSources}) {
            const QString archive = path(QStringLiteral("secret.zip"));
            QFile::remove(archive);
            TZipArchiver zip;
            configure(zip, threads, 1);
            zip.Password = QStringLiteral("pa55");
            buildArchive(zip, archive, folder);
            if (folder == sources) {
                expectAcceptedByTools(archive, QStringLiteral("pa55"));
                const PythonView view = readWithPython(archive, QStringLiteral("pa55"));
                if (view.ran) {
                    EXPECT_EQ(view.entries.size(), 3);
                }
                continue;
            }
            for (const auto &[tool, arguments] : std::vector<std::pair<QString, QStringList>>{
                     {QStringLiteral("unzip"), {QStringLiteral("-tqq"), QStringLiteral("-Ppa55"), archive}},
                     {QStringLiteral("7z"), {QStringLiteral("t"), QStringLiteral("-ppa55"), archive}}}) {
                if (const auto result = ziptools::run(tool, arguments, 120000)) {
                    EXPECT_EQ(result->exitCode, 0) << tool.toStdString() << ": " << result->output.toStdString();
                }
            }
        }
    }
}

// Archivers on different threads search side by side: one that waits in an
// event of its search holds up no other.
TEST_F(ZipParallel, ArchiversOnOtherThreadsSearchSideBySide)
{
    writeFile(path(QStringLiteral("one/a.txt")), "a");
    writeFile(path(QStringLiteral("two/b.txt")), "b");
    std::promise<void> firstSearching;
    std::promise<void> secondDone;
    std::future<void> searching = firstSearching.get_future();
    std::future<void> done = secondDone.get_future();
    std::thread second([&] {
        if (searching.wait_for(std::chrono::seconds(30)) != std::future_status::ready)
            return;
        TZipArchiver zip;
        configure(zip, 1);
        buildArchive(zip, path(QStringLiteral("two.zip")), path(QStringLiteral("two/")));
        secondDone.set_value();
    });
    bool secondDoneMeanwhile = false;
    TZipArchiver first;
    configure(first, 1);
    bool asked = false;
    first.OnConfirmProcessFile = [&](TZABaseArchiver &, const QString &, TZAProcessOperation, bool &) {
        if (std::exchange(asked, true))
            return;
        firstSearching.set_value();
        secondDoneMeanwhile = done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    };
    buildArchive(first, path(QStringLiteral("one.zip")), path(QStringLiteral("one/")));
    second.join();
    EXPECT_TRUE(secondDoneMeanwhile);
    expectAcceptedByTools(path(QStringLiteral("two.zip")));
}
