#include "ZipTestSupport.h"

#include "ScarceSpace.h"
#include "zip/ZAExcept.h"
#include "zip/ZAVolumeNumberInfo.h"

using namespace ziptest;

TEST(ZipSurface, DefaultsOfBothArchivers)
{
    TZipArchiver zip;
    EXPECT_EQ(zip.CompressionLevel(), clFastest);
    EXPECT_EQ(zip.CompressionMode(), 1);
    EXPECT_EQ(zip.CompressionMethod(), 8);
    EXPECT_EQ(zip.Zip64Mode, zmDisabled);
    EXPECT_EQ(zip.SpanningMode(), smNone);
    EXPECT_FALSE(zip.InMemory());
    EXPECT_TRUE(zip.StandardSignatures());
    EXPECT_TRUE(zip.RepairDirectoryOnOpen);
    EXPECT_EQ(zip.CurrentVersion(), QStringLiteral("2.76 "));
    zip.SetCurrentVersion(QStringLiteral("9.99"));
    EXPECT_EQ(zip.CurrentVersion(), QStringLiteral("2.76 "));
    EXPECT_TRUE(zip.Options.Recurse);
    EXPECT_EQ(zip.Options.StorePath, spRelativePath);
    EXPECT_EQ(zip.Options.OverwriteMode, omAlways);
    EXPECT_EQ(zip.Options.SearchAttr, 0x28BF);
    EXPECT_TRUE(zip.Options.FlushBuffers);
    EXPECT_TRUE(zip.Options.OEMFileNames);
    EXPECT_TRUE(zip.SpanningOptions.AdvancedNaming);
    EXPECT_EQ(zip.SpanningOptions.VolumeSize, vsAutoDetect);

    TZABaseArchiver base;
    EXPECT_EQ(base.Zip64Mode, zmAuto);
    EXPECT_EQ(base.CompressionMethod(), 0xFFFF);
    EXPECT_FALSE(base.StandardSignatures());
}

TEST(ZipSurface, CompressionModeAndLevelFollowEachOther)
{
    TZipArchiver zip;
    zip.SetCompressionMode(0);
    EXPECT_EQ(zip.CompressionLevel(), clNone);
    EXPECT_EQ(zip.CompressionMethod(), 0);
    zip.SetCompressionMode(5);
    EXPECT_EQ(zip.CompressionLevel(), clNormal);
    EXPECT_EQ(zip.CompressionMethod(), 8);
    EXPECT_EQ(nativeErrorOf([&] { zip.SetCompressionMode(10); }), zaconst::neCompressionMode);
    EXPECT_EQ(zip.CompressionMode(), 5);
    zip.SetCompressionLevel(clMax);
    EXPECT_EQ(zip.CompressionMode(), 9);
}

TEST(ZipSurface, CustomVolumeSizeHasAFloor)
{
    TZASpanningOptions options;
    for (auto [given, stored] :
         {std::pair<int64_t, int64_t>{1000, 65536}, {-5, 65536}, {65536, 65536}, {70000, 70000}}) {
        options.SetCustomVolumeSize(given);
        EXPECT_EQ(options.CustomVolumeSize(), stored) << given;
    }
}

TEST(ZipSurface, ExceptionMessagesCarryCodesAndSender)
{
    TZipArchiver zip;
    zip.setObjectName(QStringLiteral("ZipF"));
    try {
        zip.CheckActive();
        FAIL() << "closed archive accepted";
    } catch (const EZAException &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("ZipF: Archive is not open - Native error: 00013"));
        EXPECT_EQ(e.ErrorCode(), zaconst::ecArchiveNotOpen);
        EXPECT_EQ(e.NativeError(), zaconst::neNotActive);
    }
    EXPECT_EQ(EZAException(zaconst::neKeptEntryNotSaved).Message(),
              QStringLiteral("Index out of bounds - Native error: 00007"));
    EXPECT_EQ(EZAException(zaconst::neArchiveNotFound, {}, {QStringLiteral("a.zip")}).Message(),
              QStringLiteral("File \"a.zip\" not found - Native error: 00012"));
    EXPECT_EQ(EZAException(zaconst::neSourceSizeChanged, {}, {QStringLiteral("10"), QStringLiteral("4")}).Message(),
              QStringLiteral("Invalid compressed size, rfs.size = 10, count = 4 - Native error: 00034"));
    EXPECT_EQ(EZAException(zaconst::NativeError(99)).ErrorCode(), zaconst::ecUnknown);
}

// Every native code a handler may be given has a public code with a text;
// the slots after the last public code stay empty.
TEST(ZipSurface, EveryNativeCodeHasAPublicText)
{
    for (int native = zaconst::neUnknown; native <= zaconst::neCannotLock; ++native) {
        const zaconst::ErrorCode code = zaconst::publicCodeOf(zaconst::NativeError(native));
        EXPECT_FALSE(zaconst::messageOf(code).isEmpty()) << native;
        EXPECT_TRUE(native == zaconst::neUnknown || code != zaconst::ecUnknown) << native;
    }
    EXPECT_EQ(zaconst::publicCodeOf(zaconst::neWriteFailed), zaconst::ecWriteFailed);
    EXPECT_EQ(zaconst::publicCodeOf(zaconst::neVolumeRequestCancelled), zaconst::ecOpenAborted);
    EXPECT_TRUE(zaconst::messageOf(zaconst::ErrorCode(42)).isEmpty());
}

TEST(ZipSurface, SpanningModeIsFixedWhileOpen)
{
    QTemporaryDir dir;
    TZipArchiver zip;
    zip.FileName = dir.filePath(QStringLiteral("a.zip"));
    zip.SetSpanningMode(smSplitting);
    EXPECT_EQ(zip.SpanningMode(), smSplitting);
    zip.SetSpanningMode(smNone);
    zip.OpenArchive();
    try {
        zip.SetSpanningMode(smSplitting);
        FAIL() << "changed while open";
    } catch (const std::runtime_error &e) {
        EXPECT_STREQ(e.what(), "Cannot set spanning mode on open archive");
    }
}

TEST(ZipSurface, OpeningAMissingFileCreatesAnEmptyArchive)
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("new.zip"));
    TZipArchiver zip;
    zip.FileName = archive;
    zip.OpenArchive();
    EXPECT_EQ(zip.FileMode(), TZAFileMode::Create);
    zip.CloseArchive();
    EXPECT_EQ(QFileInfo(archive).size(), 22);
    expectAcceptedByTools(archive);

    zip.FileName = dir.filePath(QStringLiteral("folder/"));
    EXPECT_THROW(zip.OpenArchive(), EZAException);
}

TEST(ZipSurface, ReadOnlyArchiveRefusesAnUpdate)
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("ro.zip"));
    TZipArchiver zip;
    zip.FileName = archive;
    zip.OpenArchive();
    zip.CloseArchive();
    zip.OpenArchiveMode(TZAFileMode::ReadOnlyDenyNone);
    EXPECT_EQ(nativeErrorOf([&] { zip.BeginUpdate(); }), zaconst::neReadOnly);
}

TEST(ZipSurface, NestedBracketsCommitOnceAtTheOutermostEnd)
{
    QTemporaryDir dir;
    TZipArchiver zip;
    zip.FileName = dir.filePath(QStringLiteral("n.zip"));
    int commits = 0;
    zip.OnOverallProgress = [&](TZABaseArchiver &, double, TZAProcessOperation, TZAProgressPhase phase, bool &) {
        commits += phase == ppStart;
    };
    zip.OpenArchive();
    zip.BeginUpdate();
    zip.BeginUpdate();
    zip.EndUpdate();
    EXPECT_EQ(commits, 0);
    EXPECT_TRUE(zip.InUpdate());
    zip.EndUpdate();
    EXPECT_EQ(commits, 1);
    zip.EndUpdate();
    EXPECT_EQ(commits, 1);
    EXPECT_FALSE(zip.InUpdate());
}

TEST(ZipSurface, OneTransactionPerOpeningOfASplitArchive)
{
    QTemporaryDir dir;
    TZipArchiver zip;
    zip.FileName = dir.filePath(QStringLiteral("s.zip"));
    zip.SetSpanningMode(smSplitting);
    zip.OpenArchive();
    zip.BeginUpdate();
    zip.EndUpdate();
    try {
        zip.BeginUpdate();
        FAIL() << "second transaction accepted";
    } catch (const EZAException &e) {
        EXPECT_EQ(e.ErrorCode(), zaconst::ecMultipleTransactions);
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Multiple transactions")));
    }
}

TEST(ZipSurface, ResetUpdateDropsHalfMadeItems)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("src/a.txt")), "a");
    TZipArchiver zip;
    zip.FileName = dir.filePath(QStringLiteral("r.zip"));
    zip.BaseDir = dir.filePath(QStringLiteral("src/"));
    zip.FileMasks = {QStringLiteral("*.*")};
    zip.OpenArchive();
    zip.BeginUpdate();
    zip.AddFiles();
    EXPECT_EQ(zip.DirManager()->Items.Count(), 1);
    zip.ResetUpdate();
    EXPECT_EQ(zip.DirManager()->Items.Count(), 0);
    zip.CloseArchive();
    expectAcceptedByTools(zip.FileName);
}

namespace {

// An archive kept in memory that holds every file below baseDir.
void addInMemory(TZipArchiver &zip, const QString &baseDir)
{
    zip.SetInMemory(true);
    zip.BaseDir = baseDir;
    zip.FileMasks = {QStringLiteral("*.*")};
    zip.OpenArchive();
    zip.AddFiles();
}

} // namespace

TEST(ZipSurface, InMemoryArchiveIsWrittenToItsFileOnSwitching)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("src/a.txt")), textBytes(50));
    TZipArchiver zip;
    addInMemory(zip, dir.filePath(QStringLiteral("src/")));
    zip.FileName = dir.filePath(QStringLiteral("mem.zip"));
    zip.SetInMemory(false);
    EXPECT_TRUE(zip.Active());
    EXPECT_EQ(zip.DirManager()->Items.Count(), 1);
    zip.CloseArchive();
    expectAcceptedByTools(dir.filePath(QStringLiteral("mem.zip")));
}

TEST(ZipSurface, InMemoryArchiveThatDoesNotFitLeavesTheFileItReplacesWhole)
{
    ScarceSpace space;
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("src/a.bin")), randomBytes(300000, 7));
    const QString target = space.folder() + QStringLiteral("mem.zip");
    const QByteArray old = "the archive this one replaces";
    writeFile(target, old);
    TZipArchiver zip;
    addInMemory(zip, dir.filePath(QStringLiteral("src/")));
    zip.FileName = target;
    if (!space.exhaust(100000))
        GTEST_SKIP() << qPrintable(space.reason());
    EXPECT_THROW(zip.SetInMemory(false), EZAException);
    EXPECT_EQ(testfiles::readBytes(target), old);
    EXPECT_EQ(QDir(space.folder()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("mem")),
              QStringList{QStringLiteral("mem.zip")});
}

TEST(ZipSurface, VolumeNumbersAndSizes)
{
    TZAVolumeNumberInfo first;
    first.SetFirst(true);
    TZAVolumeNumberInfo last;
    last.LastNumber = 3;
    last.SetLast(true);
    EXPECT_EQ(last.Number, 3);
    TZAVolumeNumberInfo middle;
    middle.SetNumber(2);

    TZASpanningOptions options;
    EXPECT_EQ(options.GetVolumeSize(middle), -1);
    options.FirstVolumeSize = 5000;
    options.VolumeSize = vs1_44MB;
    EXPECT_EQ(options.GetVolumeSize(first), 5000);
    EXPECT_EQ(options.GetVolumeSize(middle), 1457664);
    options.VolumeSize = vsCustom;
    options.SetCustomVolumeSize(100000);
    EXPECT_EQ(options.GetVolumeSize(middle), 100000);
}
