// Slow cases, labelled "slow": a sparse source over 4 GiB and more entries
// than the 16-bit counts hold. They take no real disk space for the source.
#include "ZipTestSupport.h"

#include "zip/ZAExcept.h"

using namespace ziptest;

TEST(ZipLarge, SparseSourceOver4GiBGetsZip64Fields)
{
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src/"));
    QDir().mkpath(src);
    QFile sparse(src + QStringLiteral("big.bin"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    const qint64 size = 0x100000000LL + 4096;
    ASSERT_TRUE(sparse.resize(size));
    sparse.seek(size - 5);
    sparse.write("tail!");
    sparse.close();
    writeFile(src + QStringLiteral("small.txt"), "small");
    const QString archive = dir.filePath(QStringLiteral("big.zip"));

    // Without Zip64 the entry is refused before any of its bytes is written.
    TZipArchiver refusing;
    int refused = 0;
    refusing.OnProcessFileFailure = [&](TZABaseArchiver &, const QString &, TZAProcessOperation, int native, int,
                                        const QString &, TZAAction &action) {
        refused += native == zaconst::neZip64Disabled;
        action = fxaIgnore;
    };
    buildArchive(refusing, archive, src);
    EXPECT_EQ(refused, 1);
    EXPECT_LT(QFileInfo(archive).size(), 1000);

    QFile::remove(archive);
    TZipArchiver zip;
    zip.Zip64Mode = zmAuto;
    buildArchive(zip, archive, src);
    TZipArchiver reader;
    reader.FileName = archive;
    reader.OpenArchive();
    const TZADirArray &items = reader.DirManager()->Items;
    const qsizetype big = items.FindName(QStringLiteral("big.bin"));
    ASSERT_GE(big, 0);
    EXPECT_EQ(items.GetItem(big).UncompressedSize, uint64_t(size));
    EXPECT_EQ(items.GetItem(big).VersionNeeded, 45);
    reader.CloseArchive();
    // Every tool inflates 4 GiB here: a generous bound.
    expectAcceptedByTools(archive, {}, 600000);
}

TEST(ZipLarge, MoreThan65535EntriesUseTheZip64EndRecords)
{
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src/"));
    for (int folder = 0; folder < 70; ++folder) {
        const QString sub = src + QStringLiteral("d%1/").arg(folder);
        QDir().mkpath(sub);
        for (int i = 0; i < 1000; ++i)
            testfiles::writeBytes(sub + QString::number(i), QByteArray::number(i));
    }
    const QString archive = dir.filePath(QStringLiteral("many.zip"));
    TZipArchiver zip;
    buildArchive(zip, archive, src);
    TZipArchiver reader;
    reader.FileName = archive;
    reader.OpenArchive();
    EXPECT_EQ(reader.DirManager()->Items.Count(), 70070);
    EXPECT_TRUE(reader.DirManager()->HasZip64);
    reader.CloseArchive();
    expectAcceptedByTools(archive);
}
