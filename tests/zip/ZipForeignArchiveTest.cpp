#include "ZipTestSupport.h"

#include "zip/ZAByteOrder.h"
#include "zip/ZADirManager.h"

using namespace ziptest;

// Updates of archives that other tools made, or that came to harm: what is
// kept must stay exactly what it was, and what cannot be trusted is rebuilt.
namespace {

class ZipForeignArchive : public ZipFolders {
protected:
    void SetUp() override
    {
        ZipFolders::SetUp();
        zip.TempDir = temp;
    }

    // An archive written by Python's zipfile from a script that gets the
    // archive's path as sys.argv[1] and the zipfile module as z.
    bool makeWithPython(const QString &body)
    {
        const auto made = ziptools::python(
            QStringLiteral("import sys, zipfile\nwith zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n")
                + body,
            {archive});
        if (!made)
            return false;
        EXPECT_EQ(made->exitCode, 0) << made->output.toStdString();
        return made->exitCode == 0;
    }

    void update()
    {
        zip.Options.OverwriteMode = omIfNewer;
        buildArchive(zip, archive, src);
    }

    // An update as a job with a comment runs it.
    void updateWithComment()
    {
        zip.Options.OverwriteMode = omIfNewer;
        zip.FileName = archive;
        zip.BaseDir = src;
        zip.FileMasks = {QStringLiteral("*.*")};
        zip.OpenArchive();
        zip.SetComment(QStringLiteral("job comment"));
        zip.BeginUpdate();
        zip.AddFiles();
        zip.EndUpdate();
        zip.CloseArchive();
    }

    static void patch(const QString &file, qint64 pos, uint32_t value)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QByteArray bytes;
        zabytes::put(bytes, value);
        f.seek(pos);
        f.write(bytes);
    }

    TZipArchiver zip;
};

QString hexOf(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

} // namespace

// Two entries of one name: each keeps its own data when the entries after
// a changed one are copied back.
TEST_F(ZipForeignArchive, EntriesOfOneNameKeepTheirOwnData)
{
    if (!makeWithPython(QStringLiteral(
            "    z.writestr(zipfile.ZipInfo('a.txt', (2000, 1, 1, 0, 0, 0)), 'old a')\n"
            "    z.writestr(zipfile.ZipInfo('old/dup.txt', (2000, 1, 1, 0, 0, 0)), 'first copy')\n"
            "    z.writestr(zipfile.ZipInfo('old/dup.txt', (2000, 1, 1, 0, 0, 0)), 'the second, longer copy')\n")))
        GTEST_SKIP() << "python absent";
    writeFile(src + QStringLiteral("a.txt"), "new a");
    update();

    expectAcceptedByTools(archive);
    const PythonView view = readWithPython(archive);
    ASSERT_EQ(view.entries.size(), 3);
    EXPECT_EQ(view.entries[0].toObject().value(QStringLiteral("data")).toString(), hexOf("new a"));
    EXPECT_EQ(view.entries[1].toObject().value(QStringLiteral("data")).toString(), hexOf("first copy"));
    EXPECT_EQ(view.entries[2].toObject().value(QStringLiteral("data")).toString(), hexOf("the second, longer copy"));
}

// An entry whose sizes reach past the end of the file is not trusted: the
// archive is rebuilt (the entry left out and counted) or, with repairs
// off, refused.
TEST_F(ZipForeignArchive, EntryRunningPastTheEndIsRepairedOrRefused)
{
    struct Case {
        const char *what;
        bool local;   // the local header's compressed size
        bool central; // the central header's compressed size
        uint32_t size;
    };
    const Case cases[] = {
        {"local size marked as Zip64 without its extra", true, false, 0xFFFFFFFF},
        {"both sizes beyond the file", true, true, 1000000},
    };
    for (const Case &c : cases) {
        for (const bool repair : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (repair ? ", repair on" : ", repair off"));
            QFile::remove(archive);
            if (!makeWithPython(
                    QStringLiteral("    z.writestr(zipfile.ZipInfo('a.txt', (2000, 1, 1, 0, 0, 0)), 'kept ' * 50)\n"
                                   "    z.writestr(zipfile.ZipInfo('b.txt', (2000, 1, 1, 0, 0, 0)), 'cut ' * 50)\n")))
                GTEST_SKIP() << "python absent";
            const QByteArray bytes = testfiles::readBytes(archive);
            const qint64 local = bytes.indexOf("b.txt") - 30;
            const qint64 central = bytes.lastIndexOf("PK\x01\x02");
            ASSERT_GT(local, 0);
            if (c.local)
                patch(archive, local + 18, c.size);
            if (c.central)
                patch(archive, central + 20, c.size);
            writeFile(src + QStringLiteral("new.txt"), "added");

            zip.RepairDirectoryOnOpen = repair;
            zip.FileName = archive;
            if (!repair) {
                EXPECT_EQ(nativeErrorOf([&] { zip.OpenArchive(); }), zaconst::neDamagedDirectory);
                zip.CloseArchive();
                continue;
            }
            zip.OpenArchive();
            ASSERT_TRUE(zip.DirManager()->Repaired);
            EXPECT_EQ(zip.DirManager()->DroppedEntries, 1);
            zip.CloseArchive();
            update();
            expectAcceptedByTools(archive);
            const PythonView view = readWithPython(archive);
            EXPECT_FALSE(view.entry(QStringLiteral("a.txt")).isEmpty());
            EXPECT_FALSE(view.entry(QStringLiteral("new.txt")).isEmpty());
            EXPECT_TRUE(view.entry(QStringLiteral("b.txt")).isEmpty());
        }
    }
}

// The DOS time has two-second steps: a rewritten file shows by its size,
// or by a time later than the archive's own (which setting the job's
// comment again does not change).
TEST_F(ZipForeignArchive, ChangeWithinTheSameTwoSecondsIsSeen)
{
    const QDateTime archived(QDate(2024, 3, 1), QTime(10, 0, 0));
    struct Case {
        const char *what;
        QByteArray content;
        int msecsAfter; // the file's new time after its archived time
        bool replaced;
    };
    const Case cases[] = {
        {"other size, same step, before the archive was written", "other size", 400, true},
        {"same size, after the archive was written", "TEXT", 1000, true},
        {"same size, before the archive was written", "TEXT", 400, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(archive);
        writeFile(src + QStringLiteral("f.txt"), "text", archived);
        updateWithComment();
        setModified(archive, archived.addMSecs(500));
        writeFile(src + QStringLiteral("f.txt"), c.content, archived.addMSecs(c.msecsAfter));
        updateWithComment();

        expectAcceptedByTools(archive);
        const PythonView view = readWithPython(archive);
        if (!view.ran)
            GTEST_SKIP() << "python absent";
        EXPECT_EQ(view.entry(QStringLiteral("f.txt")).value(QStringLiteral("data")).toString(),
                  hexOf(c.replaced ? c.content : QByteArray("text")));
    }
}

// A repair checks encrypted entries by decrypting them with the password
// set, and keeps those that are whole.
TEST_F(ZipForeignArchive, RepairKeepsWholeEncryptedEntries)
{
    const QString password = QStringLiteral("s3cret");
    writeFile(src + QStringLiteral("secret.txt"), textBytes(2000));
    writeFile(src + QStringLiteral("stored.bin"), randomBytes(5000, 3));
    zip.Password = password;
    zip.NoCompressionMasks = {QStringLiteral("*.bin")};
    buildArchive(zip, archive, src);
    zip.OpenArchive();
    const qint64 directoryStart = zip.DirManager()->DirectoryStart;
    zip.CloseArchive();

    struct Case {
        QString password;
        qsizetype kept;
    };
    const Case cases[] = {{password, 2}, {QStringLiteral("wrong"), 0}};
    const QByteArray cut = testfiles::readBytes(archive).left(directoryStart);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.password.toStdString());
        writeFile(archive, cut);
        TZipArchiver repaired;
        repaired.Password = c.password;
        repaired.FileName = archive;
        repaired.OpenArchive();
        ASSERT_TRUE(repaired.DirManager()->Repaired);
        EXPECT_EQ(repaired.DirManager()->Items.Count(), c.kept);
        EXPECT_EQ(repaired.DirManager()->DroppedEntries, 2 - c.kept);
    }

    writeFile(archive, cut);
    writeFile(src + QStringLiteral("more.txt"), "more");
    zip.Options.OverwriteMode = omIfNewer;
    buildArchive(zip, archive, src);
    expectAcceptedByTools(archive, password);
    const PythonView view = readWithPython(archive, password);
    EXPECT_EQ(view.entries.size(), 3);
}

// A kept entry whose extra fields fill nearly all that their 16-bit length
// can tell, beside a name that is not plain ASCII: the entry keeps its
// fields, and no length of the directory wraps past 65535.
TEST_F(ZipForeignArchive, KeptEntryWithAFullExtraFieldStaysReadable)
{
    if (!makeWithPython(QStringLiteral("    i = zipfile.ZipInfo('Отчёт.txt', (2000, 1, 1, 0, 0, 0))\n"
                                       "    i.extra = b'\\xfe\\xca\\xfb\\xff' + bytes(65531)\n"
                                       "    z.writestr(i, 'kept')\n")))
        GTEST_SKIP() << "python absent";
    const QString extra
        = readWithPython(archive).entry(QStringLiteral("Отчёт.txt")).value(QStringLiteral("extra")).toString();
    ASSERT_EQ(extra.size(), 2 * 65535);
    writeFile(src + QStringLiteral("new.txt"), "added");
    update();

    expectAcceptedByTools(archive);
    const PythonView view = readWithPython(archive);
    EXPECT_EQ(view.entries.size(), 2);
    EXPECT_EQ(view.entry(QStringLiteral("Отчёт.txt")).value(QStringLiteral("extra")).toString(), extra);
}
