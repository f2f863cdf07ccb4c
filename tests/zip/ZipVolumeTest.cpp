#include "ZipTestSupport.h"

#include "platform/Paths.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>

#include <cerrno>
#include <set>

using namespace ziptest;

namespace {

// A tree of files that deflate can hardly shrink, so a small volume size
// gives several volumes. Each file is smaller than a volume: the installed
// zip cannot join a set in which one entry spans more than two volumes
// (not even a set it split itself); entries over many volumes are checked
// with 7z instead.
QString makeSources(const QTemporaryDir &temp, qint64 bigFileSize = 0)
{
    const QString root = temp.filePath(QStringLiteral("src"));
    for (int i = 0; i < 5; ++i)
        writeFile(root + QStringLiteral("/part%1.bin").arg(i), randomBytes(50000, quint32(i)));
    if (bigFileSize > 0)
        writeFile(root + QStringLiteral("/sub/big.bin"), randomBytes(bigFileSize, 99));
    writeFile(root + QStringLiteral("/sub/text.txt"), textBytes(2000));
    writeFile(root + QStringLiteral("/empty.dat"), {});
    return root;
}

void configureSplit(TZABaseArchiver &zip, qint64 volumeSize, bool advancedNaming)
{
    zip.SetSpanningMode(smSplitting);
    zip.SpanningOptions.AdvancedNaming = advancedNaming;
    zip.SpanningOptions.VolumeSize = vsCustom;
    zip.SpanningOptions.SetCustomVolumeSize(volumeSize);
}

QStringList filesIn(const QString &folder, const QStringList &filters = {})
{
    QStringList names = QDir(folder).entryList(filters, QDir::Files, QDir::Name);
    return names;
}

void expectExtractedTreeEquals(const QString &archive, const QString &target, const QString &sources)
{
    const auto result
        = ziptools::run(QStringLiteral("unzip"), {QStringLiteral("-qq"), archive, QStringLiteral("-d"), target});
    if (!result)
        return;
    EXPECT_EQ(result->exitCode, 0) << result->output.toStdString();
    EXPECT_EQ(treeOf(target), treeOf(sources));
}

void expect7zExtractsTree(const QString &lastVolume, const QString &target, const QString &sources)
{
    const auto result
        = ziptools::run(QStringLiteral("7z"), {QStringLiteral("x"), QStringLiteral("-o") + target, lastVolume});
    if (!result)
        return;
    EXPECT_EQ(result->exitCode, 0) << result->output.toStdString();
    EXPECT_EQ(treeOf(target), treeOf(sources));
}

// The folder the tests write their sets into.
QString outFolder(const QTemporaryDir &temp)
{
    const QString out = temp.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    return out;
}

// Builds the archive with a failure handler that aborts: the one failure
// must be native, and the commit rolled back leaves nothing but the new
// archive, valid and without entries.
// An entry's failure (native) that the handler answers with an abort, or,
// with entryFailed false, a failure of the archive that ends the update on
// its own and blames no entry.
void expectAbortedToAnEmptyArchive(TZABaseArchiver &zip, const QString &archive, const QString &sources, int native,
                                   bool entryFailed = true)
{
    QList<int> failures;
    zip.OnProcessFileFailure = [&](TZABaseArchiver &, const QString &, TZAProcessOperation, int code, int,
                                   const QString &, TZAAction &action) {
        failures.append(code);
        action = fxaAbort;
    };
    const int ended = nativeErrorOf([&] { buildArchive(zip, archive, sources); });
    zip.OnProcessFileFailure = nullptr;
    zip.CloseArchive();
    EXPECT_EQ(failures, entryFailed ? QList<int>{native} : QList<int>{});
    EXPECT_EQ(ended, entryFailed ? -1 : native);
    const QFileInfo info(archive);
    EXPECT_EQ(filesIn(info.absolutePath(), {info.completeBaseName() + QStringLiteral(".*")}),
              QStringList{info.fileName()});
    TZipArchiver check;
    check.FileName = archive;
    check.OpenArchive();
    ASSERT_NE(check.DirManager(), nullptr);
    EXPECT_EQ(check.DirManager()->Items.Count(), 0);
}

} // namespace

TEST(ZipVolumes, SplitSetsStayWithinTheirSizeAndJoinToAnArchiveToolsAccept)
{
    for (const qint64 volumeSize : {qint64(65536), qint64(100000)}) {
        SCOPED_TRACE(volumeSize);
        QTemporaryDir temp;
        const QString sources = makeSources(temp);
        const QString out = outFolder(temp);
        const QString archive = out + QStringLiteral("/data.zip");

        TZipArchiver zip;
        configureSplit(zip, volumeSize, false);
        buildArchive(zip, archive, sources);

        const QStringList volumes = filesIn(out);
        ASSERT_GE(volumes.size(), 3) << volumes.join(u' ').toStdString();
        for (const QString &name : volumes) {
            EXPECT_LE(QFileInfo(out + u'/' + name).size(), volumeSize) << name.toStdString();
            EXPECT_TRUE(name == u"data.zip"
                        || QRegularExpression(QStringLiteral("^data\\.z\\d\\d$")).match(name).hasMatch())
                << name.toStdString();
        }
        EXPECT_TRUE(volumes.contains(QStringLiteral("data.z01")));

        // Both tools find the volumes by the names they were written with.
        if (const auto tested = ziptools::run(QStringLiteral("7z"), {QStringLiteral("t"), archive})) {
            EXPECT_EQ(tested->exitCode, 0) << tested->output.toStdString();
        }
        const QString joined = temp.filePath(QStringLiteral("joined.zip"));
        const auto join = ziptools::run(
            QStringLiteral("zip"),
            {QStringLiteral("-s"), QStringLiteral("0"), archive, QStringLiteral("--out"), joined}, 30000);
        if (!join)
            continue;
        ASSERT_EQ(join->exitCode, 0) << join->output.toStdString();
        expectAcceptedByTools(joined);
        expectExtractedTreeEquals(joined, temp.filePath(QStringLiteral("x")), sources);
    }
}

TEST(ZipVolumes, EntriesOverManyVolumesAndAdvancedNaming)
{
    QTemporaryDir temp;
    const QString sources = makeSources(temp, 400000);
    const QString out = outFolder(temp);
    const QString archive = out + QStringLiteral("/data.zip");

    TZipArchiver zip;
    configureSplit(zip, 70000, true);
    zip.SpanningOptions.FirstVolumeSize = 100000;
    buildArchive(zip, archive, sources);

    const QStringList volumes = filesIn(out);
    ASSERT_GE(volumes.size(), 8);
    EXPECT_EQ(volumes.front(), u"data.zip");
    for (int i = 1; i < volumes.size(); ++i)
        EXPECT_EQ(volumes[i], QStringLiteral("data_%1.zip").arg(i, 3, 10, QChar(u'0')));
    EXPECT_EQ(QFileInfo(out + QStringLiteral("/data_001.zip")).size(), 100000);
    EXPECT_EQ(QFileInfo(out + QStringLiteral("/data_002.zip")).size(), 70000);
    // 7z does not know this naming; copies under the usual names stand in.
    const QString renamed = temp.filePath(QStringLiteral("renamed"));
    QDir().mkpath(renamed);
    for (int i = 1; i < volumes.size(); ++i)
        QFile::copy(out + u'/' + volumes[i], renamed + QStringLiteral("/data.Z%1").arg(i, 2, 10, QChar(u'0')));
    QFile::copy(archive, renamed + QStringLiteral("/data.ZIP"));
    expect7zExtractsTree(renamed + QStringLiteral("/data.ZIP"), temp.filePath(QStringLiteral("x")), sources);
}

TEST(ZipVolumes, SelfExtractingArchiveExtractsItselfWhenRun)
{
    QTemporaryDir temp;
    const QString sources = makeSources(temp);
    const QString archive = temp.filePath(QStringLiteral("backup.exe"));
    TZipArchiver zip;
    zip.SFXStub = QStringLiteral(ZENTAVO_SFX_STUB);
    buildArchive(zip, archive, sources);

    const QByteArray stub = testfiles::readBytes(zip.SFXStub);
    ASSERT_FALSE(stub.isEmpty());
    EXPECT_TRUE(testfiles::readBytes(archive).startsWith(stub));
    if (const auto tested = ziptools::run(QStringLiteral("unzip"), {QStringLiteral("-t"), archive})) {
        EXPECT_EQ(tested->exitCode, 0) << tested->output.toStdString();
        EXPECT_FALSE(tested->output.contains(QStringLiteral("extra bytes"))) << tested->output.toStdString();
    }
    expectAcceptedByTools(archive);

#ifdef Q_OS_UNIX
    const QString target = temp.filePath(QStringLiteral("extracted"));
    const auto ran = ziptools::run(archive, {target});
    ASSERT_TRUE(ran);
    EXPECT_EQ(ran->exitCode, 0) << ran->output.toStdString();
    EXPECT_EQ(treeOf(target), treeOf(sources));
#endif
}

TEST(ZipVolumes, SelfExtractingSplitSetIsNamedAndOpenedFromItsFirstVolume)
{
    QTemporaryDir temp;
    const QString sources = makeSources(temp);
    const QString out = outFolder(temp);
    TZipArchiver zip;
    configureSplit(zip, 65536, false);
    zip.SFXStub = QStringLiteral(ZENTAVO_SFX_STUB);
    buildArchive(zip, out + QStringLiteral("/data.zip"), sources);

    const QStringList volumes = filesIn(out);
    ASSERT_GE(volumes.size(), 3);
    EXPECT_TRUE(volumes.contains(QStringLiteral("data.exe")));
    EXPECT_TRUE(volumes.contains(QStringLiteral("data.Z02")));
    EXPECT_TRUE(volumes.contains(QStringLiteral("data.ZIP")));
    EXPECT_FALSE(volumes.contains(QStringLiteral("data.Z01")));
    EXPECT_FALSE(volumes.contains(QStringLiteral("data.zip")));
    EXPECT_TRUE(testfiles::readBytes(out + QStringLiteral("/data.exe")).startsWith(testfiles::readBytes(zip.SFXStub)));

    TZipArchiver reopened;
    reopened.FileName = out + QStringLiteral("/data.exe");
    reopened.SpanningOptions.AdvancedNaming = true; // found out from the volumes
    reopened.OpenArchive();
    EXPECT_EQ(reopened.SpanningMode(), smSplitting);
    EXPECT_FALSE(reopened.SpanningOptions.AdvancedNaming);
    ASSERT_NE(reopened.DirManager(), nullptr);
    EXPECT_EQ(reopened.DirManager()->Items.Count(), 8);
}

// A self-extracting set that fits its first volume is one ".exe", made
// anew or updated, that opens and that the tools accept.
TEST(ZipVolumes, SelfExtractingSetOfOneVolumeKeepsItsExe)
{
    for (const bool createAnew : {false, true}) {
        SCOPED_TRACE(createAnew ? "made anew" : "updated");
        QTemporaryDir temp;
        const QString root = temp.filePath(QStringLiteral("src"));
        writeFile(root + QStringLiteral("/a.txt"), textBytes(2000));
        const QString out = outFolder(temp);
        const QString exe = out + QStringLiteral("/data.exe");
        for (int run = 0; run < 2; ++run) {
            writeFile(root + QStringLiteral("/run%1.txt").arg(run), textBytes(100 + run));
            TZipArchiver zip;
            configureSplit(zip, 65536, false);
            zip.SFXStub = QStringLiteral(ZENTAVO_SFX_STUB);
            zip.CreateAnew = createAnew;
            zip.Options.OverwriteMode = omIfNewer;
            buildArchive(zip, exe, root);
            EXPECT_EQ(filesIn(out), QStringList{QStringLiteral("data.exe")});
        }
        expectAcceptedByTools(exe);
        TZipArchiver reopened;
        reopened.FileName = exe;
        reopened.OpenArchive();
        ASSERT_NE(reopened.DirManager(), nullptr);
        EXPECT_EQ(reopened.DirManager()->Items.Count(), 3);
    }
}

TEST(ZipVolumes, ExistingSplitSetIsOpenedAndExtendedByOneTransaction)
{
    QTemporaryDir temp;
    const QString sources = makeSources(temp);
    const QString out = outFolder(temp);
    const QString archive = out + QStringLiteral("/data.zip");
    {
        TZipArchiver zip;
        configureSplit(zip, 65536, false);
        buildArchive(zip, archive, sources);
    }
    const qsizetype before = filesIn(out).size();
    writeFile(sources + QStringLiteral("/added.bin"), randomBytes(60000, 42));

    TZipArchiver zip;
    zip.SpanningOptions.VolumeSize = vsCustom;
    zip.SpanningOptions.SetCustomVolumeSize(65536);
    zip.FileName = archive;
    zip.BaseDir = sources;
    zip.FileMasks = {QStringLiteral("added.bin")};
    zip.OpenArchive();
    EXPECT_EQ(zip.SpanningMode(), smSplitting);
    EXPECT_FALSE(zip.SpanningOptions.AdvancedNaming);
    EXPECT_EQ(zip.DirManager()->Items.Count(), 8);
    zip.BeginUpdate();
    zip.AddFiles();
    zip.EndUpdate();
    EXPECT_EQ(ziptest::nativeErrorOf([&] { zip.BeginUpdate(); }), zaconst::neSecondTransaction);
    zip.CloseArchive();

    const QStringList volumes = filesIn(out);
    EXPECT_GT(volumes.size(), before);
    for (const QString &name : volumes)
        EXPECT_LE(QFileInfo(out + u'/' + name).size(), 65536) << name.toStdString();
    expect7zExtractsTree(archive, temp.filePath(QStringLiteral("x")), sources);
}

TEST(ZipVolumes, VolumeRequestAnsweredWithoutNameCancels)
{
    QTemporaryDir temp;
    const QString sources = makeSources(temp);
    const QString archive = temp.filePath(QStringLiteral("data.zip"));

    TZipArchiver first;
    configureSplit(first, 65536, false);
    first.FileName = archive;
    first.OnRequestBlankVolume = [](TZABaseArchiver &, int, QString &name, bool &) { name.clear(); };
    EXPECT_EQ(nativeErrorOf([&] { first.OpenArchive(); }), zaconst::neVolumeRequestCancelled);
    EXPECT_FALSE(first.Active());

    // A request in the middle of the writing fails that entry; the commit
    // is abandoned and leaves no archive behind that looks complete.
    TZipArchiver later;
    configureSplit(later, 65536, false);
    later.OnRequestBlankVolume = [](TZABaseArchiver &, int number, QString &name, bool &) {
        if (number == 3)
            name.clear();
    };
    // Rolled back to the new, empty archive.
    expectAbortedToAnEmptyArchive(later, archive, sources, zaconst::neVolumeRequestCancelled);
}

TEST(ZipVolumes, StubLargerThanTheFirstVolumeIsRefused)
{
    QTemporaryDir temp;
    const QString stub = temp.filePath(QStringLiteral("stub.bin"));
    writeFile(stub, QByteArray(70000, 'x'));
    TZipArchiver zip;
    configureSplit(zip, 65536, false);
    zip.SFXStub = stub;
    zip.FileName = temp.filePath(QStringLiteral("data.zip"));
    EXPECT_EQ(nativeErrorOf([&] { zip.OpenArchive(); }), zaconst::neStubTooLarge);
}

namespace {

// A file on a disk that fills up after limit bytes.
class FullDiskFile : public QFile {
public:
    FullDiskFile(const QString &name, qint64 limit) : QFile(name), m_limit(limit) {}

protected:
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 room = m_limit - pos();
        if (room <= 0) {
            setErrorString(qt_error_string(ENOSPC));
            return -1;
        }
        return QFile::writeData(data, std::min(size, room));
    }

private:
    qint64 m_limit;
};

// Its second volume lies on a disk that is fuller than its free space said.
class FullSecondVolumeArchiver : public TZipArchiver {
    std::unique_ptr<QIODevice> OpenVolume(const QString &name, QIODevice::OpenMode mode) override
    {
        auto file = name.endsWith(QStringLiteral(".z02")) ? std::make_unique<FullDiskFile>(name, 1000)
                                                          : std::make_unique<FullDiskFile>(name, 1 << 30);
        if (!file->open(mode | QIODevice::Unbuffered))
            return nullptr;
        return file;
    }
};

} // namespace

TEST(ZipVolumes, ShortWriteOnAFullDiskFailsTheArchiveAndLeavesNoPartialSet)
{
    QTemporaryDir temp;
    const QString sources = makeSources(temp);
    const QString archive = temp.filePath(QStringLiteral("data.zip"));
    FullSecondVolumeArchiver zip;
    configureSplit(zip, 65536, false);
    expectAbortedToAnEmptyArchive(zip, archive, sources, zaconst::neDiskFull, false);
}

// Spanned disks all carry the archive's own name; with nobody to change
// the disk, a second volume of that name must not overwrite the first.
TEST(ZipVolumes, SpannedVolumesOfOneNameDoNotOverwriteEachOther)
{
    QTemporaryDir temp;
    const QString sources = makeSources(temp);
    const QString archive = temp.filePath(QStringLiteral("data.zip"));
    TZipArchiver zip;
    zip.SetSpanningMode(smSpanning);
    zip.SpanningOptions.AdvancedNaming = false;
    zip.SpanningOptions.VolumeSize = vsCustom;
    zip.SpanningOptions.SetCustomVolumeSize(65536);
    zip.OnRequestBlankVolume = [](TZABaseArchiver &, int, QString &, bool &) {};
    expectAbortedToAnEmptyArchive(zip, archive, sources, zaconst::neCannotCreateFile);
}

// A set written with ".Z01" volumes beside a lower-case "data.zip" (the
// names used before) is still found and read.
TEST(ZipVolumes, SetWithUpperCaseVolumeNamesIsStillRead)
{
    QTemporaryDir temp;
    const QString sources = makeSources(temp);
    const QString out = outFolder(temp);
    TZipArchiver zip;
    configureSplit(zip, 65536, false);
    buildArchive(zip, out + QStringLiteral("/data.zip"), sources);
    qsizetype renamed = 0;
    for (const QString &name : filesIn(out)) {
        if (name.startsWith(QStringLiteral("data.z")) && name != u"data.zip")
            renamed += QFile::rename(out + u'/' + name, out + u'/' + QString(name).replace(u'z', u'Z')) ? 1 : 0;
    }
    ASSERT_GE(renamed, 2);

    TZipArchiver reader;
    reader.FileName = out + QStringLiteral("/data.zip");
    reader.OpenArchive();
    EXPECT_FALSE(reader.DirManager()->Repaired);
    EXPECT_GT(reader.DirManager()->Items.Count(), 0);
}

#ifdef Q_OS_UNIX
// Run as the file it was written as, with its own mode, in an empty folder:
// every name comes back byte for byte, whether the archive stored it in the
// OEM or the ANSI code page or as UTF-8.
TEST(ZipVolumes, SelfExtractorRunsByItsOwnModeAndRestoresEveryName)
{
    const QStringList names{QStringLiteral("plain.txt"), QStringLiteral("Отчёт за год.txt"),
                            QStringLiteral("Папка/данные.bin"), QStringLiteral("日本語/データ.txt"),
                            QStringLiteral("Смесь 日本.txt")};
    for (const bool oemNames : {true, false}) {
        SCOPED_TRACE(oemNames ? "OEM names" : "ANSI names");
        QTemporaryDir temp;
        const QString sources = temp.filePath(QStringLiteral("src"));
        for (qsizetype i = 0; i < names.size(); ++i)
            writeFile(sources + u'/' + names[i], textBytes(int(50 * (i + 1))));
        const QString archive = temp.filePath(QStringLiteral("Data.exe"));
        TZipArchiver zip;
        zip.Options.OEMFileNames = oemNames;
        zip.SFXStub = QStringLiteral(ZENTAVO_SFX_STUB);
        buildArchive(zip, archive, sources);
        EXPECT_TRUE(QFile::permissions(archive) & QFileDevice::ExeOwner);

        const QString empty = temp.filePath(QStringLiteral("restore"));
        QDir().mkpath(empty);
        QProcess process;
        process.setWorkingDirectory(empty);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(archive, {});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAll().toStdString();

        std::set<QByteArray> restored, stored;
        for (const auto &[path, bytes] : treeOf(empty))
            restored.insert(QFile::encodeName(path));
        for (const auto &[path, bytes] : treeOf(sources))
            stored.insert(QFile::encodeName(path));
        EXPECT_EQ(restored, stored);
        EXPECT_EQ(treeOf(empty), treeOf(sources));
    }
}
#endif
