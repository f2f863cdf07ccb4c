#include "ZipTestSupport.h"

#include "zip/ZAByteOrder.h"
#include "zip/ZACentralHeader.h"
#include "zip/ZANameCodec.h"
#include "zip/ZARecords.h"

#include <QDirIterator>

#include <zlib.h>

using namespace ziptest;

namespace {

// Names in the code page, names it cannot hold and plain ones, each in a
// folder entry of its own kind.
const QStringList Names{
    QStringLiteral("Папка/Отчёт.txt"), QStringLiteral("日本.txt"),         QStringLiteral("café.txt"),
    QStringLiteral("Ελλάδα.txt"),      QStringLiteral("plain/readme.txt"),
};

class ZipNames : public ZipFolders {
protected:
    void SetUp() override
    {
        ZipFolders::SetUp();
        zip.TempDir = temp;
        zip.Options.SearchAttr = 0x28BF; // folder entries too
        for (const QString &name : Names)
            writeFile(src + name, name.toUtf8());
    }

    TZipArchiver zip;
};

// The tools list and extract names in the locale's encoding.
std::optional<ziptools::ToolResult> runUtf8(const QString &program, const QStringList &arguments)
{
    qputenv("LC_ALL", "C.UTF-8");
    const auto result = ziptools::run(program, arguments);
    qunsetenv("LC_ALL");
    return result;
}

QStringList filesUnder(const QString &folder)
{
    QStringList found;
    QDir root(folder);
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        found << root.relativeFilePath(it.next());
    found.sort();
    return found;
}

// The Unicode Path fields of the central headers, as Python sees them:
// for each entry its raw name bytes (hex) and the UTF-8 names of its fields.
const QString UnicodeFieldsScript = QStringLiteral(R"(
import json, struct, sys, zipfile, zlib
out = {}
with zipfile.ZipFile(sys.argv[1]) as z:
    for i in z.infolist():
        raw = i.orig_filename.encode("utf-8" if i.flag_bits & 0x800 else "cp437")
        names, extra = [], i.extra
        while len(extra) >= 4:
            tag, size = struct.unpack("<HH", extra[:4])
            data, extra = extra[4:4 + size], extra[4 + size:]
            if tag == 0x7075 and data[0] == 1 and struct.unpack("<I", data[1:5])[0] == zlib.crc32(raw):
                names.append(data[5:].decode("utf-8"))
        out[raw.hex()] = names
print(json.dumps(out))
)");

// Each entry's name bytes in the central directory and in its local
// header, and its central extra fields, as they lie in the file.
const QString RawNamesScript = QStringLiteral(R"(
import json, struct, sys, zipfile
out = []
with zipfile.ZipFile(sys.argv[1]) as z, open(sys.argv[1], "rb") as f:
    for i in z.infolist():
        f.seek(i.header_offset)
        head = f.read(30)
        out.append({"central": i.orig_filename.encode("utf-8" if i.flag_bits & 0x800 else "cp437").hex(),
                    "local": f.read(struct.unpack("<H", head[26:28])[0]).hex(), "extra": i.extra.hex()})
print(json.dumps(out))
)");

QJsonArray rawNamesOf(const QString &archive)
{
    const auto listed = ziptools::python(RawNamesScript, {archive});
    if (!listed)
        return {};
    EXPECT_EQ(listed->exitCode, 0) << listed->output.toStdString();
    return QJsonDocument::fromJson(listed->output.toUtf8()).array();
}

} // namespace

TEST_F(ZipNames, EveryToolShowsAndExtractsTheNamesWhateverTheCodePage)
{
    QStringList expected = Names;
    expected.sort();
    for (const bool oem : {true, false}) {
        SCOPED_TRACE(oem);
        QFile::remove(archive);
        zip.Options.OEMFileNames = oem;
        buildArchive(zip, archive, src);
        expectAcceptedByTools(archive);

        const auto listing = runUtf8(QStringLiteral("unzip"), {QStringLiteral("-l"), archive});
        for (const QString &name : Names) {
            if (listing) {
                EXPECT_TRUE(listing->output.contains(name)) << "unzip -l: " << listing->output.toStdString();
            }
        }
        const QList<std::pair<QString, QStringList>> extractors = {
            {QStringLiteral("unzip"), {QStringLiteral("-qo"), archive, QStringLiteral("-d")}},
            {QStringLiteral("7z"), {QStringLiteral("x"), QStringLiteral("-y"), archive}},
            {QStringLiteral("bsdtar"), {QStringLiteral("-xf"), archive, QStringLiteral("-C")}},
        };
        for (const auto &[tool, arguments] : extractors) {
            const QString into = path(QStringLiteral("x-%1-%2").arg(tool).arg(oem));
            QDir().mkpath(into);
            const QStringList withTarget = tool == QStringLiteral("7z")
                ? arguments + QStringList{QStringLiteral("-o") + into}
                : arguments + QStringList{into};
            const auto result = runUtf8(tool, withTarget);
            if (!result)
                continue;
            EXPECT_EQ(result->exitCode, 0) << tool.toStdString() << ": " << result->output.toStdString();
            EXPECT_EQ(filesUnder(into), expected) << tool.toStdString();
        }

        // The code-page name stays where it fits, the field gives the name
        // to every entry that is not plain ASCII, folders included.
        const auto fields = ziptools::python(UnicodeFieldsScript, {archive});
        if (!fields)
            continue;
        const QJsonObject byRawName = QJsonDocument::fromJson(fields->output.toUtf8()).object();
        const QString cyrillicRaw = QString::fromLatin1(
            (oem ? QByteArray("\x8f\xa0\xaf\xaa\xa0/") : QByteArray("\xcf\xe0\xef\xea\xe0/")).toHex());
        EXPECT_EQ(byRawName.value(cyrillicRaw).toArray(), QJsonArray{QStringLiteral("Папка/")});
        EXPECT_EQ(byRawName.value(QString::fromLatin1(QByteArray("日本.txt").toHex())).toArray(),
                  QJsonArray{QStringLiteral("日本.txt")});
        EXPECT_EQ(byRawName.value(QString::fromLatin1(QByteArray("plain/").toHex())).toArray(), QJsonArray{});
        EXPECT_EQ(byRawName.size(), Names.size() + 2);
    }
}

TEST_F(ZipNames, UpdatesKeepOneFieldPerEntryAndTheReaderTakesTheName)
{
    buildArchive(zip, archive, src);
    writeFile(src + QStringLiteral("Новый.txt"), "added later");
    buildArchive(zip, archive, src);

    const auto fields = ziptools::python(UnicodeFieldsScript, {archive});
    if (fields) {
        const QJsonObject byRawName = QJsonDocument::fromJson(fields->output.toUtf8()).object();
        for (const QString &raw : byRawName.keys())
            EXPECT_LE(byRawName.value(raw).toArray().size(), 1) << raw.toStdString();
    }

    // A field that names the entry otherwise wins over the code page, as
    // in archives other programs write, and goes out again as it came; a
    // stale one (CRC of other bytes) is left aside.
    TDirItem item;
    item.EncodedName = "old.txt";
    QByteArray field;
    zabytes::put(field, uint8_t(1));
    zabytes::put(field, uint32_t(crc32(0, reinterpret_cast<const Bytef *>("old.txt"), 7)));
    item.ExtraFields = {{zanames::UnicodePathExtraId, field + QStringLiteral("Ёлка.txt").toUtf8()}};
    const QByteArray current = zacentral::encode(item, zarecords::StandardSignatures.centralHeader);
    TDirItem read;
    ASSERT_EQ(zacentral::decode(current, 0, zarecords::StandardSignatures.centralHeader, true, read), current.size());
    EXPECT_EQ(read.FileName, QStringLiteral("Ёлка.txt"));
    EXPECT_EQ(zacentral::encode(read, zarecords::StandardSignatures.centralHeader), current);
    QByteArray stale = current;
    stale[zarecords::CentralHeaderSize + 5] = 'X'; // a name byte the CRC was not taken over
    ASSERT_GT(zacentral::decode(stale, 0, zarecords::StandardSignatures.centralHeader, true, read), 0);
    EXPECT_EQ(read.FileName, QStringLiteral("old.tXt"));

    TZipArchiver reader;
    reader.FileName = archive;
    reader.OpenArchive();
    for (const QString &name : Names + QStringList{QStringLiteral("Новый.txt"), QStringLiteral("Папка/")})
        EXPECT_GE(reader.DirManager()->Items.FindName(name), 0) << name.toStdString();
}

TEST_F(ZipNames, StoreFileHandlerNamesWithBackslashesAndFolderEvents)
{
    zip.OnStoreFile = [](TZABaseArchiver &, QString &fileName, uint32_t &, QString &, const QString &) {
        if (fileName == QStringLiteral("plain/readme.txt"))
            fileName = QStringLiteral("renamed\\by\\handler.txt");
    };
    QStringList ended;
    zip.OnFileProgress
        = [&](TZABaseArchiver &, const QString &fileName, double, TZAProcessOperation, TZAProgressPhase phase, bool &) {
              if (phase == ppEnd)
                  ended << fileName;
          };
    buildArchive(zip, archive, src);

    TZipArchiver reader;
    reader.FileName = archive;
    reader.OpenArchive();
    EXPECT_GE(reader.DirManager()->Items.FindName(QStringLiteral("renamed/by/handler.txt")), 0);
    // Every entry's event names it; a folder's path ends with "/".
    EXPECT_EQ(ended.size(), reader.DirManager()->Items.Count());
    EXPECT_TRUE(ended.contains(src + QStringLiteral("Папка/"))) << ended.join(u',').toStdString();
    EXPECT_FALSE(ended.contains(QString()));
}

TEST_F(ZipNames, TheSelfExtractorRestoresTheNames)
{
#ifdef Q_OS_UNIX
    const QString exe = path(QStringLiteral("out/backup.exe"));
    zip.SFXStub = QStringLiteral(ZENTAVO_SFX_STUB);
    buildArchive(zip, exe, src);
    const QString into = path(QStringLiteral("restored"));
    const auto ran = ziptools::run(exe, {into});
    ASSERT_TRUE(ran);
    EXPECT_EQ(ran->exitCode, 0) << ran->output.toStdString();
    QStringList expected = Names;
    expected.sort();
    EXPECT_EQ(filesUnder(into), expected);
#else
    GTEST_SKIP() << "the stub runs on Unix here";
#endif
}

// Archives that the tools of a Linux system made of the same folder, names
// in UTF-8 with or without flag bit 11: an update finds the files by their
// names, adds only the new one, and leaves every kept entry's name bytes
// and extra fields as they were, in its local header as in the directory.
// So does the update of one whose directory was lost, which only the local
// headers tell where it was made.
TEST_F(ZipNames, ArchivesOfOtherToolsKeepTheirNamesThroughAnUpdate)
{
    struct Maker {
        const char *tool;
        QString command; // run in the folder src; %1: the archive
        bool cutDirectory = false;
    };
    const Maker makers[] = {
        {"zip", QStringLiteral("zip -qr '%1' *")},
        {"zip", QStringLiteral("zip -qr '%1' *"), true},
        {"bsdtar", QStringLiteral("bsdtar -a -cf '%1' *")},
        {"7z", QStringLiteral("7z a -tzip -bd '%1' * >/dev/null")},
        {"python3",
         QStringLiteral("/usr/bin/python3 -c 'import os, sys, zipfile\n"
                        "with zipfile.ZipFile(sys.argv[1], \"w\") as z:\n"
                        "    for top, dirs, files in os.walk(\".\"):\n"
                        "        for name in dirs + files: z.write(os.path.join(top, name))' '%1'")},
    };
    zip.Options.OverwriteMode = omIfNewer;
    const QString added = QStringLiteral("Новый.txt");
    for (const Maker &maker : makers) {
        SCOPED_TRACE(std::string(maker.tool) + (maker.cutDirectory ? ", directory cut off" : ""));
        QFile::remove(archive);
        QFile::remove(src + added);
        QString output;
        const int made
            = splitset::shell(QStringLiteral("command -v %1 >/dev/null || exit 127; cd '%2' && LC_ALL=C.UTF-8 %3")
                                  .arg(QString::fromLatin1(maker.tool), src, maker.command.arg(archive)),
                              &output);
        if (made == 127)
            continue;
        ASSERT_EQ(made, 0) << output.toStdString();
        const QJsonArray before = rawNamesOf(archive);
        if (before.isEmpty())
            GTEST_SKIP() << "python absent";
        if (maker.cutDirectory) {
            const QByteArray whole = testfiles::readBytes(archive);
            testfiles::writeBytes(archive, whole.left(whole.indexOf("PK\x01\x02")));
        }

        writeFile(src + added, "added later");
        buildArchive(zip, archive, src);

        expectAcceptedByTools(archive);
        const QJsonArray after = rawNamesOf(archive);
        ASSERT_EQ(after.size(), before.size() + 1);
        for (qsizetype i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i][QStringLiteral("central")], before[i][QStringLiteral("central")]);
            EXPECT_EQ(after[i][QStringLiteral("local")], before[i][QStringLiteral("local")]);
            // A rebuilt directory keeps only the fields that tell how to
            // read the name.
            if (!maker.cutDirectory) {
                EXPECT_EQ(after[i][QStringLiteral("extra")], before[i][QStringLiteral("extra")]);
            }
        }
        for (const auto &entry : after)
            EXPECT_EQ(entry[QStringLiteral("local")], entry[QStringLiteral("central")]);

        TZipArchiver reader;
        reader.FileName = archive;
        reader.OpenArchive();
        for (const QString &name : Names + QStringList{added})
            EXPECT_GE(reader.DirManager()->Items.FindName(name), 0) << name.toStdString();
    }
}

// Names without flag bit 11 are UTF-8 where the system that made them
// writes UTF-8 and the bytes are valid UTF-8; DOS and Windows names, and
// those this archiver writes, stay in the code page.
TEST(ZipNameCodec, NamesOfOtherSystemsAreReadAsTheyWriteThem)
{
    const QByteArray utf8 = QStringLiteral("Отчёт.txt").toUtf8();
    const QByteArray oem = QByteArray("\x8e\xe2\xe7\xf1\xe2.txt"); // "Отчёт.txt" in code page 866
    const QByteArray ansiLikeUtf8("\xcb\xa8.txt");                 // "ЛЁ.txt" in 1251, valid UTF-8 too
    struct Case {
        const char *what;
        QByteArray bytes;
        uint16_t madeBy;
        bool oemNames;
        QString name;
    };
    const Case cases[] = {
        {"Unix, UTF-8", utf8, 0x031E, true, QStringLiteral("Отчёт.txt")},
        {"Mac OS X, UTF-8", utf8, 0x1314, true, QStringLiteral("Отчёт.txt")},
        {"Unix, not UTF-8", oem, 0x031E, true, QStringLiteral("Отчёт.txt")},
        {"DOS", oem, 0x0014, true, QStringLiteral("Отчёт.txt")},
        {"NTFS", ansiLikeUtf8, 0x0A14, false, QStringLiteral("ЛЁ.txt")},
        {"this archiver's ANSI names", ansiLikeUtf8, 0x0B14, false, QStringLiteral("ЛЁ.txt")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(zanames::decodeName(c.bytes, 0, c.madeBy, c.oemNames), c.name);
    }
}
