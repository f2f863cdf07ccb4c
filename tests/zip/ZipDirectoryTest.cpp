#include "ZipTestSupport.h"

#include "zip/ZAByteOrder.h"
#include "zip/ZACentralHeader.h"
#include "zip/ZADirManager.h"
#include "zip/ZAExcept.h"
#include "zip/ZANameCodec.h"

#include <QBuffer>

using namespace ziptest;

namespace {

class ZipDirectory : public ZipFolders {
protected:
    void SetUp() override
    {
        ZipFolders::SetUp();
        writeFile(src + QStringLiteral("a.txt"), textBytes(400));
        writeFile(src + QStringLiteral("sub/b.bin"), randomBytes(5000, 7));
        writeFile(src + QStringLiteral("empty"), {});
    }

    // The names, sizes and CRCs our reader finds, for comparing with Python.
    static void expectSameAsPython(const QString &archive)
    {
        const PythonView view = readWithPython(archive);
        if (!view.ran)
            GTEST_SKIP() << "python absent";
        TZipArchiver zip;
        zip.FileName = archive;
        zip.OpenArchive();
        const TZADirArray &items = zip.DirManager()->Items;
        ASSERT_EQ(items.Count(), view.entries.size());
        for (qsizetype i = 0; i < items.Count(); ++i) {
            const TDirItem &item = items.GetItem(i);
            const QJsonObject entry = view.entry(item.FileName);
            ASSERT_FALSE(entry.isEmpty()) << item.FileName.toStdString();
            EXPECT_EQ(qint64(item.UncompressedSize), entry.value(QStringLiteral("size")).toInteger());
            EXPECT_EQ(qint64(item.CompressedSize), entry.value(QStringLiteral("csize")).toInteger());
            EXPECT_EQ(qint64(item.Crc32), entry.value(QStringLiteral("crc")).toInteger());
        }
        EXPECT_EQ(zip.Comment(), view.comment);
    }

    // Adds one more file with our archiver and checks the result everywhere.
    void addOneFile(const QString &archive)
    {
        writeFile(path(QStringLiteral("more/new.txt")), "new entry");
        TZipArchiver zip;
        buildArchive(zip, archive, path(QStringLiteral("more/")));
        expectAcceptedByTools(archive);
        const PythonView view = readWithPython(archive);
        if (view.ran) {
            EXPECT_FALSE(view.entry(QStringLiteral("new.txt")).isEmpty());
        }
    }
};

} // namespace

TEST_F(ZipDirectory, ArchivesOfOtherToolsAreReadAndExtended)
{
    const QString byZip = path(QStringLiteral("zip.zip"));
    const QString by7z = path(QStringLiteral("7z.zip"));
    const QString byPython = path(QStringLiteral("py.zip"));
    const auto made = ziptools::run(
        QStringLiteral("sh"),
        {QStringLiteral("-c"),
         QStringLiteral(
             "cd '%1' && zip -qr '%2' . && echo 'zip comment' | zip -qz '%2' && 7z a -tzip -bd '%3' . >/dev/null")
             .arg(src, byZip, by7z)});
    ASSERT_TRUE(made);
    ASSERT_EQ(made->exitCode, 0) << made->output.toStdString();
    const auto python = ziptools::python(QStringLiteral(R"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("plain.txt", "plain " * 100)
    with z.open("big.txt", "w", force_zip64=True) as f:
        f.write(b"zip64 sized " * 100)
    z.comment = b"python comment"
)"),
                                         {byPython});
    ASSERT_TRUE(python);
    ASSERT_EQ(python->exitCode, 0) << python->output.toStdString();

    for (const QString &archive : {byZip, by7z, byPython}) {
        SCOPED_TRACE(archive.toStdString());
        expectSameAsPython(archive);
        const PythonView before = readWithPython(archive);
        addOneFile(archive);
        // Extra fields of other tools are kept for the entries we did not touch.
        const PythonView after = readWithPython(archive);
        for (const auto &value : before.entries) {
            const QJsonObject old = value.toObject();
            const QString name = old.value(QStringLiteral("name")).toString();
            if (old.value(QStringLiteral("extra")).toString().contains(QStringLiteral("0100")))
                continue; // a Zip64 extra is regenerated, not copied
            EXPECT_EQ(after.entry(name).value(QStringLiteral("extra")), old.value(QStringLiteral("extra")))
                << name.toStdString();
        }
        EXPECT_EQ(after.comment, before.comment);
    }
}

TEST_F(ZipDirectory, EndRecordMustEndTheFile)
{
    const QString archive = path(QStringLiteral("a.zip"));
    TZipArchiver zip;
    buildArchive(zip, archive, src);
    QFile file(archive);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("x");
    file.close();

    zip.RepairDirectoryOnOpen = false;
    EXPECT_EQ(nativeErrorOf([&] { zip.OpenArchive(); }), zaconst::neNoEndRecord);
    EXPECT_FALSE(zip.Active());

    zip.RepairDirectoryOnOpen = true;
    zip.OpenArchive();
    EXPECT_TRUE(zip.DirManager()->Repaired);
    EXPECT_EQ(zip.DirManager()->Items.Count(), 4);
}

TEST_F(ZipDirectory, StubInFrontShiftsTheOffsets)
{
    const QString archive = path(QStringLiteral("plain.zip"));
    TZipArchiver zip;
    buildArchive(zip, archive, src);
    const QByteArray plain = testfiles::readBytes(archive);
    const QString stubbed = path(QStringLiteral("stubbed.zip"));
    testfiles::writeBytes(stubbed, QByteArray(40000, 'S') + plain);

    TZipArchiver reader;
    reader.FileName = stubbed;
    reader.OpenArchive();
    EXPECT_EQ(reader.DirManager()->BaseOffset, 40000);
    EXPECT_FALSE(reader.DirManager()->Repaired);
    TZipArchiver original;
    original.FileName = archive;
    original.OpenArchive();
    for (qsizetype i = 0; i < original.DirManager()->Items.Count(); ++i)
        EXPECT_EQ(reader.DirManager()->Items.GetItem(i).LocalHeaderOffset,
                  original.DirManager()->Items.GetItem(i).LocalHeaderOffset + 40000);
    reader.CloseArchive();
    addOneFile(stubbed);
}

TEST_F(ZipDirectory, CutOffDirectoryIsRebuiltFromLocalHeaders)
{
    const QString inner = path(QStringLiteral("inner.zip"));
    TZipArchiver innerZip;
    buildArchive(innerZip, inner, src);
    writeFile(src + QStringLiteral("inner.zip"), testfiles::readBytes(inner));

    const QString archive = path(QStringLiteral("cut.zip"));
    TZipArchiver zip;
    zip.NoCompressionMasks = {QStringLiteral("*.zip")};
    buildArchive(zip, archive, src);
    zip.OpenArchive();
    const qint64 directoryStart = zip.DirManager()->DirectoryStart;
    zip.CloseArchive();

    for (const bool garbage : {false, true}) {
        SCOPED_TRACE(garbage);
        QFile file(archive);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        if (garbage) {
            file.seek(directoryStart);
            file.write(QByteArray(int(file.size() - directoryStart), char(0xAA)));
        } else {
            file.resize(directoryStart + 30);
        }
        file.close();

        TZipArchiver repaired;
        repaired.FileName = archive;
        repaired.OpenArchive();
        ASSERT_TRUE(repaired.DirManager()->Repaired);
        const TZADirArray &items = repaired.DirManager()->Items;
        // The stored inner archive does not turn into entries of its own.
        EXPECT_EQ(items.Count(), 5);
        const qsizetype folder = items.FindName(QStringLiteral("sub/"));
        ASSERT_GE(folder, 0);
        EXPECT_TRUE(items.GetItem(folder).ExternalAttributes & 0x10);
        const qsizetype empty = items.FindName(QStringLiteral("empty"));
        ASSERT_GE(empty, 0);
        EXPECT_FALSE(items.GetItem(empty).ExternalAttributes & 0x10);
        repaired.CloseArchive();
        addOneFile(archive);
    }
}

// A damaged central header, or an end record that gives a directory larger
// than the file: rebuilt with repairs on, refused without.
TEST_F(ZipDirectory, DamagedCentralHeaderIsRepairedOrRefused)
{
    const QString archive = path(QStringLiteral("d.zip"));
    TZipArchiver zip;
    buildArchive(zip, archive, src);
    const QByteArray sound = testfiles::readBytes(archive);
    zip.OpenArchive();
    const qint64 directoryStart = zip.DirManager()->DirectoryStart;
    zip.CloseArchive();

    const std::pair<qint64, QByteArray> damages[] = {
        {directoryStart, "XXXX"}, {sound.size() - 22 + 12, QByteArray("\xff\xff\xff\x7f", 4)}, // directory size
    };
    for (const auto &[offset, bytes] : damages) {
        SCOPED_TRACE(offset);
        QByteArray damaged = sound;
        damaged.replace(offset, bytes.size(), bytes);
        testfiles::writeBytes(archive, damaged);

        zip.RepairDirectoryOnOpen = false;
        EXPECT_EQ(nativeErrorOf([&] { zip.OpenArchive(); }), zaconst::neDamagedDirectory);
        EXPECT_EQ(testfiles::readBytes(archive), damaged);
        zip.RepairDirectoryOnOpen = true;
        zip.OpenArchive();
        EXPECT_TRUE(zip.DirManager()->Repaired);
        EXPECT_EQ(zip.DirManager()->Items.Count(), 4);
        zip.CloseArchive();
    }
}

// A Zip64 compressed size near 2^64 on an entry whose sizes a data
// descriptor gives (so its local header does not contradict it): the
// entry ends far past the file, however a sum of offsets would wrap. It is
// left out by the repair or refused without one, and the archive an update
// leaves opens without repairs.
TEST_F(ZipDirectory, SizeNearTwoToTheSixtyFourIsRepairedOrRefused)
{
    const QString archive = path(QStringLiteral("d.zip"));
    TZipArchiver zip;
    zip.TempDir = temp;
    zip.Zip64Mode = zmAlways;
    buildArchive(zip, archive, src);
    // Its folder's local header too holds the sizes its Zip64 marks promise.
    expectAcceptedByTools(archive);
    QByteArray damaged = testfiles::readBytes(archive);
    const qsizetype local = damaged.indexOf(QByteArray("a.txt")) - zarecords::LocalHeaderSize;
    const qsizetype central = damaged.lastIndexOf(QByteArray("a.txt")) - zarecords::CentralHeaderSize;
    ASSERT_GE(local, 0);
    ASSERT_EQ(zabytes::get<uint32_t>(damaged.constData() + local), 0x04034B50u);
    ASSERT_EQ(zabytes::get<uint32_t>(damaged.constData() + central), 0x02014B50u);
    // Flag bit 3 in both headers; the central Zip64 extra holds the
    // uncompressed size, then the compressed one.
    damaged[local + 6] = char(damaged[local + 6] | 0x08);
    damaged[central + 8] = char(damaged[central + 8] | 0x08);
    QByteArray huge;
    zabytes::put(huge, uint64_t(0xFFFFFFFFFFFFFFF0ULL));
    damaged.replace(central + zarecords::CentralHeaderSize + 5 + 4 + 8, 8, huge);
    testfiles::writeBytes(archive, damaged);

    zip.RepairDirectoryOnOpen = false;
    EXPECT_EQ(nativeErrorOf([&] { zip.OpenArchive(); }), zaconst::neDamagedDirectory);
    zip.CloseArchive();
    zip.RepairDirectoryOnOpen = true;
    zip.OpenArchive();
    EXPECT_TRUE(zip.DirManager()->Repaired);
    EXPECT_EQ(zip.DirManager()->DroppedEntries, 1);
    zip.CloseArchive();

    addOneFile(archive);
    TZipArchiver strict;
    strict.RepairDirectoryOnOpen = false;
    strict.FileName = archive;
    strict.OpenArchive();
    EXPECT_FALSE(strict.DirManager()->Repaired);
    EXPECT_EQ(strict.DirManager()->Items.Count(), 4);
}

TEST_F(ZipDirectory, FileWithoutLocalHeaderFails)
{
    const QString junk = path(QStringLiteral("junk.zip"));
    testfiles::writeBytes(junk, QByteArray(1000, 'j'));
    TZipArchiver zip;
    zip.FileName = junk;
    EXPECT_EQ(nativeErrorOf([&] { zip.OpenArchive(); }), zaconst::neInvalidArchive);
    EXPECT_FALSE(zip.Active());
}

namespace {

// count stored one-byte entries, each behind its local header, and the
// directory that lists them.
QByteArray directoryOf(qsizetype count)
{
    const auto stream = memoryStream();
    TZADirManager manager(*stream, {});
    TDirItem item;
    item.UncompressedSize = item.CompressedSize = 1;
    item.Crc32 = 0xE8B7BE43; // of "a"
    for (qsizetype i = 0; i < count; ++i) {
        item.FileName = QString::number(i);
        item.EncodedName = item.FileName.toLatin1();
        item.LocalHeaderOffset = uint64_t(stream->pos());
        zarecords::LocalHeader header;
        header.crc32 = item.Crc32;
        header.compressedSize = header.uncompressedSize = 1;
        header.nameLength = uint16_t(item.EncodedName.size());
        stream->write(header.encode() + item.EncodedName + "a");
        manager.Items.Append(item);
    }
    manager.WriteCentralDir(true);
    return zastream::readAt(*stream, 0, stream->size());
}

} // namespace

TEST(ZipDirectoryWriter, Zip64RecordsFrom65535Entries)
{
    for (const qsizetype count : {qsizetype(65534), qsizetype(65535)}) {
        SCOPED_TRACE(count);
        const QByteArray bytes = directoryOf(count);
        const char *end = bytes.constData() + bytes.size() - 22;
        const bool zip64 = count >= 65535;
        EXPECT_EQ(zabytes::get<uint16_t>(end + 10), zip64 ? 0xFFFF : count);
        EXPECT_EQ(zabytes::get<uint32_t>(end - 20) == 0x07064B50, zip64);

        const auto stream = memoryStream(bytes);
        TZADirManager reader(*stream, {});
        reader.ReadCentralDir();
        EXPECT_FALSE(reader.Repaired);
        EXPECT_EQ(reader.Items.Count(), count);
        EXPECT_EQ(reader.HasZip64, zip64);
    }
}

TEST(ZipDirectoryWriter, OnlyOverflowingValuesGoToTheZip64Extra)
{
    TDirItem item;
    item.FileName = QStringLiteral("big");
    item.EncodedName = "big";
    item.UncompressedSize = 0x100000000ULL;
    item.CompressedSize = 1000;
    const QByteArray header = zacentral::encode(item, 0x02014B50);
    EXPECT_EQ(zabytes::get<uint16_t>(header.constData() + 30), 12);
    EXPECT_EQ(zabytes::get<uint32_t>(header.constData() + 24), 0xFFFFFFFFu);
    EXPECT_EQ(zabytes::get<uint32_t>(header.constData() + 20), 1000u);

    TDirItem back;
    ASSERT_EQ(zacentral::decode(header, 0, 0x02014B50, true, back), header.size());
    EXPECT_EQ(back.UncompressedSize, 0x100000000ULL);
    EXPECT_EQ(back.CompressedSize, 1000u);
    EXPECT_TRUE(back.HasZip64Extra);
}

// Extra fields that no longer fit beside a Zip64 extra or the name's field
// are left out, other tools' fields first; the length never wraps.
TEST(ZipDirectoryWriter, ExtraFieldsThatNoLongerFitAreLeftOutForeignFirst)
{
    const auto foreign = [](uint16_t id, qsizetype size) { return TZAExtraField{id, QByteArray(size, 'x')}; };
    struct Case {
        const char *what;
        bool zip64;
        QList<TZAExtraField> foreignFields;
        QList<uint16_t> written; // the ids read back, in order
    };
    const Case cases[] = {
        {"all fit", false, {foreign(0xCAFE, 100), foreign(0x5455, 9)}, {0x7075, 0xCAFE, 0x5455}},
        {"a full foreign field beside the name", false, {foreign(0xCAFE, 65531)}, {0x7075}},
        {"a full foreign field beside Zip64",
         true,
         {foreign(0xCAFE, 65500), foreign(0x5455, 9)},
         {0x0001, 0x7075, 0x5455}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TDirItem item;
        zanames::nameItem(item, QStringLiteral("Ёлка.txt"), true);
        item.ExtraFields += c.foreignFields;
        item.Zip64 = c.zip64;
        const QByteArray header = zacentral::encode(item, 0x02014B50);
        TDirItem back;
        ASSERT_EQ(zacentral::decode(header, 0, 0x02014B50, false, back), header.size());
        EXPECT_EQ(back.FileName, QStringLiteral("Ёлка.txt"));
        QList<uint16_t> written;
        if (back.HasZip64Extra)
            written << 0x0001;
        for (const TZAExtraField &field : back.ExtraFields)
            written << field.HeaderId;
        EXPECT_EQ(written, c.written);
    }
}

TEST(ZipDirectoryWriter, NameIndexFollowsDeletions)
{
    TZADirArray items;
    for (const char16_t *name : {u"a", u"b", u"c"}) {
        TDirItem item;
        item.FileName = QString::fromUtf16(name);
        items.Append(item);
    }
    items.Delete(0);
    EXPECT_EQ(items.FindName(QStringLiteral("c")), 1);
    EXPECT_EQ(items.FindName(QStringLiteral("a")), -1);
    EXPECT_THROW(items.Delete(5), EZAException);
}

TEST(ZipDirectoryWriter, NameIndexAnswersTheFirstPositionThroughGrowthAndRenames)
{
    TZADirArray items;
    TDirItem item;
    for (int i = 0; i < 5000; ++i) {
        item.FileName = QStringLiteral("dir%1/file%2").arg(i % 7).arg(i);
        items.Append(item);
    }
    item.FileName = QStringLiteral("dir3/file10");
    items.Append(item); // a duplicate: the first one is found
    for (const int i : {0, 1023, 1024, 4999})
        EXPECT_EQ(items.FindName(QStringLiteral("dir%1/file%2").arg(i % 7).arg(i)), i);
    EXPECT_EQ(items.FindName(QStringLiteral("dir3/file10")), 10);
    EXPECT_EQ(items.FindName(QStringLiteral("dir0/file5000")), -1);

    // Renaming the first of two duplicates leaves the later one to be found.
    item.FileName = QStringLiteral("renamed");
    items.SetItem(10, item);
    EXPECT_EQ(items.FindName(QStringLiteral("renamed")), 10);
    EXPECT_EQ(items.FindName(QStringLiteral("dir3/file10")), 5000);
    items.Delete(0);
    EXPECT_EQ(items.FindName(QStringLiteral("renamed")), 9);
    EXPECT_EQ(items.FindName(QStringLiteral("dir3/file10")), 4999);
}
