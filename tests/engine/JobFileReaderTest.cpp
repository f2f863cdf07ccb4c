#include "engine/JobFileReader.h"

#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zentavo;

namespace {

class JobFileReaderTest : public ::testing::Test {
protected:
    QString write(const QStringList &lines)
    {
        const QString path = dir.filePath(QStringLiteral("backup.dat"));
        testfiles::writeBytes(path, testfiles::cp1251Lines(lines));
        return path;
    }

    QTemporaryDir dir;
};

QStringList job(const QString &archive, const QStringList &tail)
{
    return QStringList{QStringLiteral(">"), QStringLiteral("Job"), archive, QStringLiteral("D=/src"),
                       QStringLiteral("C=")}
    + tail;
}

} // namespace

TEST_F(JobFileReaderTest, MissingOrUnnamedFileReadsNothing)
{
    TBlocks blocks(2);
    EXPECT_FALSE(ReadFDat(QString(), blocks));
    EXPECT_TRUE(blocks.empty());
    EXPECT_FALSE(ReadFDat(dir.filePath(QStringLiteral("none.dat")), blocks));
}

TEST_F(JobFileReaderTest, FileWithoutJobsIsReadButEmpty)
{
    TBlocks blocks;
    EXPECT_TRUE(ReadFDat(write({QStringLiteral("header only")}), blocks));
    EXPECT_TRUE(blocks.empty());
}

TEST_F(JobFileReaderTest, ArchiveNamesGainExtensionAndFolder)
{
    const QString folder = dir.path() + u'/';
    const QString path = write(job(QStringLiteral("Data"), {}) + job(QStringLiteral("A.ZIP"), {})
                               + job(QStringLiteral("/arc/week.zip.old"), {}));
    TBlocks blocks;
    ASSERT_TRUE(ReadFDat(path, blocks));
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].GetStr(ArchiveName), folder + QStringLiteral("Data.zip"));
    EXPECT_EQ(blocks[1].GetStr(ArchiveName), folder + QStringLiteral("A.ZIP.zip"));
    EXPECT_EQ(blocks[2].GetStr(ArchiveName), QStringLiteral("/arc/week.zip.old"));
    for (const TBlock &block : blocks) {
        EXPECT_EQ(block.GetFlag(Enabled), 1);
        EXPECT_EQ(block.GetFlag(Status), StatusOk);
        EXPECT_EQ(block.GetStr(Title), QStringLiteral("Job"));
    }
}

TEST_F(JobFileReaderTest, TailLinesLandInTheirLists)
{
    const QString path
        = write(job(QStringLiteral("/a.zip"),
                    {QStringLiteral("/copy=135"), QStringLiteral("/copy/=135"), QStringLiteral("/copy"),
                     QStringLiteral("/cmd1/x=2"), QStringLiteral("W=/week=1"), QStringLiteral("W=/week"),
                     QStringLiteral("w=/lower"), QStringLiteral(u"\u041C:/month=0"), QStringLiteral("Q=/q/=1"),
                     QStringLiteral("Y=/y"), QStringLiteral("cmd2=notepad=0"), QStringLiteral("CMD1=ls -l=06")}));
    TBlocks blocks;
    ASSERT_TRUE(ReadFDat(path, blocks));
    ASSERT_EQ(blocks.size(), 1u);
    const TBlock &b = blocks[0];
    EXPECT_EQ(b.Dests,
              QStringList({QStringLiteral("/copy/=135"), QStringLiteral("/copy/=135"), QStringLiteral("/copy/"),
                           QStringLiteral("/cmd1/x/=2"), QStringLiteral("w/=/lower")}));
    EXPECT_EQ(b.WeekCopies, QStringList({QStringLiteral("/week/=1"), QStringLiteral("/week/=")}));
    EXPECT_EQ(b.MonthCopies, QStringList{QStringLiteral("/month/=0")});
    EXPECT_EQ(b.QuarterCopies, QStringList{QStringLiteral("/q/=1")});
    EXPECT_EQ(b.YearCopies, QStringList{QStringLiteral("/y/=")});
    EXPECT_EQ(b.CmdAfter, QStringList{QStringLiteral("notepad=0")});
    EXPECT_EQ(b.CmdBefore, QStringList{QStringLiteral("ls -l=06")});
}

TEST_F(JobFileReaderTest, LinesWithoutAFolderAreNotCopiesToTheRoot)
{
    const QString path
        = write(job(QStringLiteral("/a.zip"), {QStringLiteral("W="), QStringLiteral("M==1"), QStringLiteral("=135")}));
    TBlocks blocks;
    ASSERT_TRUE(ReadFDat(path, blocks));
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_TRUE(blocks[0].WeekCopies.isEmpty());
    EXPECT_TRUE(blocks[0].MonthCopies.isEmpty());
    EXPECT_TRUE(blocks[0].Dests.isEmpty());
}

TEST_F(JobFileReaderTest, EmptyLineStartsTheNextJobWithoutMark)
{
    const QString path
        = write({QStringLiteral(">"), QStringLiteral("One"), QStringLiteral("/1.zip"), QStringLiteral("D=/s"),
                 QStringLiteral("C="), QStringLiteral("/d"), QString(), QStringLiteral("Two"), QStringLiteral("/2.zip"),
                 QStringLiteral("D=/t"), QStringLiteral(">"), QStringLiteral("Three"), QStringLiteral("/3.zip"),
                 QStringLiteral(u"\u0414:/u"), QStringLiteral(u"\u0421:\u0410\u0440\u0445\u0438\u0432")});
    TBlocks blocks;
    ASSERT_TRUE(ReadFDat(path, blocks));
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[1].GetStr(Title), QStringLiteral("Two"));
    EXPECT_EQ(blocks[1].Sources, QStringList{QStringLiteral("/t")});
    EXPECT_EQ(blocks[2].GetStr(Comment), QStringLiteral(u"\u0410\u0440\u0445\u0438\u0432"));
    EXPECT_EQ(blocks[2].Exclusions, QStringList{QString()});
}

// A job file from the Windows build is code page 1251; one saved by a
// text editor may be UTF-8, with or without a byte-order mark, which must
// neither hide the first job nor garble its folders.
TEST_F(JobFileReaderTest, ReadsEveryEncodingAJobFileMayHave)
{
    const QString name = QStringLiteral(u"\u0410\u0440\u0445\u0438\u0432");                 // Архив
    const QString source = QStringLiteral(u"/\u0434\u043e\u043c/\u0444\u043e\u0442\u043e"); // /дом/фото
    const QStringList lines{QStringLiteral(">"), name, QStringLiteral("/arc/a.zip"), QStringLiteral("D=") + source,
                            QStringLiteral("C=")};
    const QByteArray utf8 = lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    const QString path = dir.filePath(QStringLiteral("backup.dat"));
    for (const QByteArray &bytes : {testfiles::cp1251Lines(lines), utf8, QByteArray("\xEF\xBB\xBF") + utf8}) {
        testfiles::writeBytes(path, bytes);
        TBlocks blocks;
        ASSERT_TRUE(ReadFDat(path, blocks));
        ASSERT_EQ(blocks.size(), 1u) << bytes.left(8).toHex().toStdString();
        EXPECT_EQ(blocks[0].GetStr(Title), name);
        EXPECT_EQ(blocks[0].Sources, QStringList{source});
    }
}
