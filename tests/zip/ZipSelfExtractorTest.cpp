#include "ZipTestSupport.h"

#include "zip/ZAByteOrder.h"
#include "zip/ZADirManager.h"

#include <QRegularExpression>

using namespace ziptest;

// The self-extractor as a user restores with it: whole files or none, no
// way out of its folder, and split sets restored by the steps that
// docs/archives.md gives.
namespace {

#ifdef Q_OS_UNIX

#if defined(__SANITIZE_ADDRESS__)
constexpr bool underAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool underAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool underAddressSanitizer = false;
#endif

class ZipSelfExtractor : public ZipFolders {
protected:
    void SetUp() override
    {
        ZipFolders::SetUp();
        zip.TempDir = temp;
        zip.SFXStub = QStringLiteral(ZENTAVO_SFX_STUB);
        target = path(QStringLiteral("target"));
        QDir().mkpath(target);
    }

    static int shell(const QString &commands, QString *output = nullptr) { return splitset::shell(commands, output); }

    int extract(const QString &archive) { return shell(QStringLiteral("'%1' '%2'").arg(archive, target)); }

    QString target;
    TZipArchiver zip;
};

} // namespace

// A damaged entry never replaces the file it would restore, and leaves no
// temporary file behind; the whole entries are restored.
TEST_F(ZipSelfExtractor, DamagedEntryLeavesTheExistingFileAlone)
{
    writeFile(src + QStringLiteral("precious.txt"), textBytes(300));
    writeFile(src + QStringLiteral("whole.txt"), textBytes(10));
    zip.NoCompressionMasks = {QStringLiteral("precious.txt")};
    const QString exe = path(QStringLiteral("out/backup.exe"));
    buildArchive(zip, exe, src);

    zip.FileName = exe;
    zip.OpenArchive();
    const TDirItem precious
        = zip.DirManager()->Items.GetItem(zip.DirManager()->Items.FindName(QStringLiteral("precious.txt")));
    zip.CloseArchive();
    QByteArray bytes = testfiles::readBytes(exe);
    bytes[qsizetype(precious.LocalHeaderOffset) + 30 + precious.EncodedName.size() + 100] ^= 0x55;
    writeFile(exe, bytes);
    QFile::setPermissions(exe, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    writeFile(target + QStringLiteral("/precious.txt"), "the only copy");
    EXPECT_EQ(extract(exe), 1);
    EXPECT_EQ(testfiles::readBytes(target + QStringLiteral("/precious.txt")), "the only copy");
    EXPECT_EQ(testfiles::readBytes(target + QStringLiteral("/whole.txt")), textBytes(10));
    EXPECT_EQ(QDir(target).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("precious.txt"), QStringLiteral("whole.txt")}));
}

// A symbolic link in the target folder, as a folder on the entry's way or
// as the file itself, is never followed out of the folder.
TEST_F(ZipSelfExtractor, LinksInTheTargetFolderLeadNowhere)
{
    writeFile(src + QStringLiteral("d/x.txt"), "into the folder");
    writeFile(src + QStringLiteral("f.txt"), "the file itself");
    const QString exe = path(QStringLiteral("out/backup.exe"));
    buildArchive(zip, exe, src);
    expectAcceptedByTools(exe);

    const QString elsewhere = path(QStringLiteral("elsewhere"));
    writeFile(elsewhere + QStringLiteral("/f.txt"), "outside");
    ASSERT_TRUE(QFile::link(elsewhere, target + QStringLiteral("/d")));
    ASSERT_TRUE(QFile::link(elsewhere + QStringLiteral("/f.txt"), target + QStringLiteral("/f.txt")));

    EXPECT_EQ(extract(exe), 1); // d/x.txt cannot be restored through the link
    EXPECT_EQ(QDir(elsewhere).entryList(QDir::Files), QStringList{QStringLiteral("f.txt")});
    EXPECT_EQ(testfiles::readBytes(elsewhere + QStringLiteral("/f.txt")), "outside");
    // The link to a file is replaced by the file, not written through.
    EXPECT_FALSE(QFileInfo(target + QStringLiteral("/f.txt")).isSymLink());
    EXPECT_EQ(testfiles::readBytes(target + QStringLiteral("/f.txt")), "the file itself");
}

// Restored by each of the steps in docs/archives.md, run in the folder
// that holds the set: the first volume run itself, and 7z after the first
// volume got the name of a numbered one. One entry spans several volumes.
TEST_F(ZipSelfExtractor, SplitSetIsRestoredByTheDocumentedSteps)
{
    for (int i = 0; i < 3; ++i)
        writeFile(src + QStringLiteral("part%1.bin").arg(i), randomBytes(50000, quint32(i)));
    writeFile(src + QStringLiteral("sub/big.bin"), randomBytes(200000, 9));
    writeFile(src + QStringLiteral("sub/text.txt"), textBytes(2000));
    zip.SetSpanningMode(smSplitting);
    zip.SpanningOptions.AdvancedNaming = false;
    zip.SpanningOptions.VolumeSize = vsCustom;
    zip.SpanningOptions.SetCustomVolumeSize(65536);
    const QString set = path(QStringLiteral("out"));
    buildArchive(zip, set + QStringLiteral("/back.exe"), src);
    ASSERT_TRUE(QFileInfo::exists(set + QStringLiteral("/back.Z04")));
    ASSERT_TRUE(QFileInfo::exists(set + QStringLiteral("/back.ZIP")));

    splitset::expectRestoredByTheDocumentedSteps(set, QStringLiteral("back"), dir.path(), treeOf(src));
}

// A damaged last volume whose end record claims a directory far larger than
// the set ends the extractor with its message; it neither aborts nor takes
// gigabytes of memory (bounded here, so that asking for them fails).
TEST_F(ZipSelfExtractor, DamagedLastVolumeEndsWithItsMessage)
{
    for (int i = 0; i < 3; ++i)
        writeFile(src + QStringLiteral("part%1.bin").arg(i), randomBytes(50000, quint32(i)));
    zip.SetSpanningMode(smSplitting);
    zip.SpanningOptions.AdvancedNaming = false;
    zip.SpanningOptions.VolumeSize = vsCustom;
    // Room for the stub as any build makes it, and for a third of the data.
    zip.SpanningOptions.SetCustomVolumeSize(QFileInfo(zip.SFXStub).size() + 65536);
    const QString set = path(QStringLiteral("out"));
    buildArchive(zip, set + QStringLiteral("/back.exe"), src);
    const QString last = set + QStringLiteral("/back.ZIP");
    const QByteArray whole = testfiles::readBytes(last);
    const qsizetype end = whole.lastIndexOf("PK\x05\x06");
    ASSERT_GT(end, 0);
    ASSERT_NE(zabytes::get<uint16_t>(whole.constData() + end + 4), 0); // the last of several volumes

    // The same end record with its directory size replaced.
    const auto claiming32 = [&](uint32_t size) {
        QByteArray bytes = whole;
        QByteArray field;
        zabytes::put(field, size);
        bytes.replace(end + 12, 4, field);
        return bytes;
    };
    // Zip64 records in front of the end record, which then defers to them.
    const auto claiming64 = [&](uint64_t size) {
        const char *record = whole.constData() + end;
        QByteArray zip64;
        zabytes::put(zip64, uint32_t(0x06064B50));
        zabytes::put(zip64, uint64_t(44));
        zabytes::put(zip64, uint16_t(45));
        zabytes::put(zip64, uint16_t(45));
        zabytes::put(zip64, uint32_t(zabytes::get<uint16_t>(record + 4)));
        zabytes::put(zip64, uint32_t(zabytes::get<uint16_t>(record + 6)));
        zabytes::put(zip64, uint64_t(zabytes::get<uint16_t>(record + 8)));
        zabytes::put(zip64, uint64_t(zabytes::get<uint16_t>(record + 10)));
        zabytes::put(zip64, size);
        zabytes::put(zip64, uint64_t(zabytes::get<uint32_t>(record + 16)));
        zabytes::put(zip64, uint32_t(0x07064B50));
        zabytes::put(zip64, uint32_t(zabytes::get<uint16_t>(record + 4)));
        zabytes::put(zip64, uint64_t(end));
        zabytes::put(zip64, uint32_t(zabytes::get<uint16_t>(record + 4)) + 1);
        return whole.left(end) + zip64 + whole.mid(end);
    };
    struct Case {
        const char *what;
        QByteArray last;
    };
    const Case cases[] = {
        {"3.75 GiB in the end record", claiming32(0xF0000000)},
        {"2^62 bytes in the Zip64 end record", claiming64(uint64_t(1) << 62)},
    };
    // A sanitizer needs far more address space than any limit would leave
    // it; it is bounded by its own allocation limit instead.
    const QString bounded = underAddressSanitizer
        ? QStringLiteral("ASAN_OPTIONS=\"$ASAN_OPTIONS:max_allocation_size_mb=1024\"")
        : QStringLiteral("ulimit -v 1048576;");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(last, c.last);
        QString output;
        EXPECT_EQ(shell(QStringLiteral("cd '%1' && %2 ./back.exe '%3' 2>&1").arg(set, bounded, target), &output), 2)
            << output.toStdString();
        EXPECT_TRUE(output.contains(QStringLiteral("no archive found behind the extractor"))) << output.toStdString();
        EXPECT_TRUE(QDir(target).isEmpty());
    }
}

// A set another tool split begins with a marker in front of its first
// entry; updating it keeps the names of its volumes.
TEST_F(ZipSelfExtractor, UpdatedSetOfAnotherToolKeepsItsNames)
{
    for (int i = 0; i < 3; ++i)
        writeFile(src + QStringLiteral("part%1.bin").arg(i), randomBytes(50000, quint32(i)));
    const QString set = path(QStringLiteral("out"));
    QString output;
    if (shell(QStringLiteral("cd '%1' && zip -q -s 64k '%2/a.zip' *").arg(src, set), &output) != 0)
        GTEST_SKIP() << "zip absent: " << output.toStdString();
    ASSERT_TRUE(QFileInfo::exists(set + QStringLiteral("/a.z01")));

    writeFile(src + QStringLiteral("added.txt"), "added");
    TZipArchiver update;
    update.TempDir = temp;
    update.SpanningOptions.VolumeSize = vsCustom;
    update.SpanningOptions.SetCustomVolumeSize(65536);
    update.Options.OverwriteMode = omIfNewer;
    buildArchive(update, set + QStringLiteral("/a.zip"), src);

    for (const QString &name : QDir(set).entryList(QDir::Files))
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^a\\.(z\\d\\d|zip)$")).match(name).hasMatch())
            << name.toStdString();
    const QString last = set + QStringLiteral("/a.zip");
    if (const auto tested = ziptools::run(QStringLiteral("7z"), {QStringLiteral("t"), last})) {
        EXPECT_EQ(tested->exitCode, 0) << tested->output.toStdString();
        const auto listed = ziptools::run(QStringLiteral("7z"), {QStringLiteral("l"), last});
        EXPECT_TRUE(listed && listed->output.contains(QStringLiteral("added.txt")));
    }
}

#endif
