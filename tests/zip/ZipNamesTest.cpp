#include "ZipTestSupport.h"

#include "zip/ZACentralHeader.h"
#include "zip/ZARecords.h"

#include <QDirIterator>

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
    // in archives other programs write; a stale one (CRC of other bytes)
    // is left aside.
    TDirItem item;
    item.EncodedName = "old.txt";
    item.FileName = QStringLiteral("Ёлка.txt");
    const QByteArray current = zacentral::encode(item, zarecords::StandardSignatures.centralHeader);
    TDirItem read;
    ASSERT_EQ(zacentral::decode(current, 0, zarecords::StandardSignatures.centralHeader, true, read), current.size());
    EXPECT_EQ(read.FileName, QStringLiteral("Ёлка.txt"));
    EXPECT_TRUE(read.ExtraFields.isEmpty());
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
