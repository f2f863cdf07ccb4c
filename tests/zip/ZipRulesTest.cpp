#include "LocalTimeZone.h"
#include "ZipTestSupport.h"

#include "zip/DosDateTime.h"
#include "zip/ZAPathRules.h"

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#endif

using namespace ziptest;
using zapaths::MatchesFileMask;
using zapaths::StoredName;

TEST(ZipPathRules, StoredNameInEachMode)
{
    const QString base = QStringLiteral("/data/");
    const QString file = QStringLiteral("/data/Docs/a.txt");
    EXPECT_EQ(StoredName(file, base, spNoPath, base), QStringLiteral("a.txt"));
    EXPECT_EQ(StoredName(file, base, spRelativePath, base), QStringLiteral("Docs/a.txt"));
    EXPECT_EQ(StoredName(file, base, spFullPath, base), QStringLiteral("data/Docs/a.txt"));
    // Names are never absolute, whatever the mode.
    EXPECT_EQ(StoredName(file, base, spFullPathWithDrive, base), QStringLiteral("data/Docs/a.txt"));
    EXPECT_EQ(StoredName(QStringLiteral("/data/Docs/"), base, spRelativePath, base), QStringLiteral("Docs"));
    EXPECT_EQ(StoredName(QStringLiteral("/other/b.txt"), base, spRelativePath, base), QStringLiteral("other/b.txt"));
    EXPECT_EQ(StoredName(QStringLiteral("/data/..dots"), base, spRelativePath, base), QStringLiteral("..dots"));
}

// Names of paths below the folder that only the path routines clean up
// must come out as those routines make them.
TEST(ZipPathRules, StoredNameOfPathsToClean)
{
    const QString base = QStringLiteral("/data/");
    const struct {
        const char *path;
        TZAStorePathMode mode;
        const char *name;
    } cases[] = {
        {"/data/a./", spRelativePath, "a"},
        {"/data/...", spRelativePath, "data/.."},
        {"/data/x/./y", spRelativePath, "x/y"},
        {"/data/x//y", spRelativePath, "x/y"},
        {"/data/x/../y", spRelativePath, "y"},
        {"/data/x/..", spRelativePath, "."},
        {"/data/x\\y", spRelativePath, "x\\y"},
        {"/database/x", spRelativePath, "database/x"},
        {"/data/Docs/b.", spNoPath, "b"},
        {"/data/Docs/./b", spNoPath, "b"},
        {"/data/Docs/b.", spFullPath, "data/Docs/b"},
        {"/data/Docs//b", spFullPathWithDrive, "data/Docs/b"},
    };
    const zapaths::StoredNames names(base, spRelativePath, base);
    for (const auto &c : cases) {
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(StoredName(path, base, c.mode, base), QString::fromUtf8(c.name)) << c.path;
        if (c.mode == spRelativePath) {
            EXPECT_EQ(names.Of(path), QString::fromUtf8(c.name)) << c.path;
        }
    }
}

TEST(ZipPathRules, ExclusionMasks)
{
    const QString base = QStringLiteral("/data/");
    EXPECT_TRUE(MatchesFileMask(QStringLiteral("/data/deep/x.BAK"), QStringLiteral("*.bak"), base));
    EXPECT_TRUE(MatchesFileMask(QStringLiteral("/data/Tmp/x.txt"), QStringLiteral("/data/Tmp/*.*"), base));
    EXPECT_TRUE(MatchesFileMask(QStringLiteral("/data/Tmp/in/y"), QStringLiteral("/data/Tmp/*.*"), base));
    EXPECT_FALSE(MatchesFileMask(QStringLiteral("/data/Tmp/"), QStringLiteral("/data/Tmp/*.*"), base));
    EXPECT_TRUE(MatchesFileMask(QStringLiteral("/data/sub/a.txt"), QStringLiteral("sub/*.txt"), base));
    EXPECT_FALSE(MatchesFileMask(QStringLiteral("/data/other/a.txt"), QStringLiteral("sub/*.txt"), base));
    EXPECT_TRUE(MatchesFileMask(QStringLiteral("/any/thing"), QStringLiteral("*.*"), base));
    // One mask resolved once answers for every path as for each alone.
    const zapaths::FileMask tree(QStringLiteral("/data/Tmp/*.*"), base);
    EXPECT_TRUE(tree.Matches(QStringLiteral("/data/Tmp/in/y")));
    EXPECT_FALSE(tree.Matches(QStringLiteral("/data/Other/y")));
    EXPECT_FALSE(tree.Matches(QStringLiteral("/data/Tmp/")));
    const zapaths::FileMask relative(QStringLiteral("sub/*.txt"), base);
    EXPECT_TRUE(relative.Matches(QStringLiteral("/data/sub/a.txt")));
    EXPECT_FALSE(relative.Matches(QStringLiteral("/data/sub/a.doc")));
    EXPECT_FALSE(zapaths::FileMask(QString(), base).Matches(QStringLiteral("/data/a")));
}

TEST(ZipDosTime, ClampedAndComparedUnsigned)
{
    const dosdatetime::LocalTimeRule rule;
    const uint32_t early = rule.ToDos(QDateTime(QDate(1970, 1, 1), QTime(0, 0)));
    EXPECT_EQ(early, rule.ToDos(QDateTime(QDate(1980, 1, 1), QTime(0, 0))));
    const uint32_t late = rule.ToDos(QDateTime(QDate(2200, 1, 1), QTime(0, 0)));
    EXPECT_EQ(dosdatetime::datePart(late) >> 9, 127);
    EXPECT_EQ(dosdatetime::timePart(rule.ToDos(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 7)))),
              (4 << 11) | (5 << 5) | 3);
}

#ifdef Q_OS_UNIX
// File times come in UTC; the rule read once gives the local wall-clock
// time, summer time included.
TEST(ZipDosTime, UtcTimesBecomeTheLocalTimeOfTheirDate)
{
    const LocalTimeZone newYork("America/New_York");
    if (!newYork.available())
        GTEST_SKIP() << "no time zone data";
    const dosdatetime::LocalTimeRule rule;
    const auto dos = [](int year, int month, int day, int hour) {
        return (uint32_t(((year - 1980) << 9) | (month << 5) | day) << 16) | uint32_t(hour << 11);
    };
    EXPECT_EQ(rule.ToDos(QDateTime(QDate(2021, 7, 1), QTime(12, 0), Qt::UTC)), dos(2021, 7, 1, 8));
    EXPECT_EQ(rule.ToDos(QDateTime(QDate(2021, 1, 1), QTime(3, 0), Qt::UTC)), dos(2020, 12, 31, 22));
}
#endif

#ifdef Q_OS_UNIX
namespace {

// Makes writes beyond limit fail as on a full disk, for the life of the object.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int);
};

} // namespace

TEST(ZipDiskFull, FullFileSystemLeavesTheArchiveByteIdentical)
{
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src/"));
    const QString temp = dir.filePath(QStringLiteral("temp/"));
    QDir().mkpath(temp);
    for (int i = 1; i <= 4; ++i)
        writeFile(src + QStringLiteral("f%1.bin").arg(i), randomBytes(100000, quint32(i)));
    const QString archive = dir.filePath(QStringLiteral("full.zip"));
    TZipArchiver zip;
    zip.TempDir = temp;
    buildArchive(zip, archive, src);
    const QByteArray before = testfiles::readBytes(archive);

    // Replacing the first entry rewrites all four; the disk "fills" half-way.
    writeFile(src + QStringLiteral("f1.bin"), randomBytes(100000, 99));
    writeFile(src + QStringLiteral("f9.bin"), randomBytes(300000, 98));
    // The archive is what failed, not the file being written: the update
    // ends at once, naming the archive and the system's reason.
    int failures = 0;
    zip.OnProcessFileFailure = [&](TZABaseArchiver &, const QString &, TZAProcessOperation, int, int, const QString &,
                                   TZAAction &) { ++failures; };
    QString message;
    {
        FileSizeLimit limit(rlim_t(before.size() + 50000));
        try {
            buildArchive(zip, archive, src);
        } catch (const EZAException &failure) {
            EXPECT_EQ(failure.NativeError(), zaconst::neDiskFull);
            message = failure.Message();
        }
    }
    EXPECT_EQ(message,
              QStringLiteral("Cannot write to \"%1\": %2 - Native error: 00065")
                  .arg(QDir::toNativeSeparators(archive), qt_error_string(EFBIG)));
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(testfiles::readBytes(archive), before);
    EXPECT_TRUE(leftoverTempFiles(temp).isEmpty());
}

// The self-extractor's stub is the first thing written: a disk too full
// for it is told with the archive's name like any later write.
TEST(ZipDiskFull, AStubThatDoesNotFitNamesTheArchive)
{
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src/"));
    writeFile(src + QStringLiteral("a.txt"), QByteArray("text"));
    const QString archive = dir.filePath(QStringLiteral("back.exe"));
    TZipArchiver zip;
    zip.TempDir = dir.path();
    zip.SFXStub = QStringLiteral(ZENTAVO_SFX_STUB);
    QString message;
    {
        FileSizeLimit limit(4096);
        try {
            buildArchive(zip, archive, src);
        } catch (const EZAException &failure) {
            message = failure.Message();
        }
    }
    EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot write to \"%1\": ").arg(QDir::toNativeSeparators(archive))))
        << message.toStdString();
}
#endif
