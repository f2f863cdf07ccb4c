#include "report/ReportLineClass.h"
#include "report/ReportFind.h"
#include "report/ReportLines.h"
#include "report/ReportPrintHeader.h"
#include "report/ReportText.h"

#include "TestFiles.h"
#include "platform/VersionBlock.h"
#include "shared/ConstStr.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using report::LineIcon;
using report::RowKind;
using namespace zentavo;

namespace {

// The lines of a real run: one job ok, one with a copy error.
QStringList runLines()
{
    return {report::timed(sBeginProcess),
            sReportBak + QStringLiteral(" Report.bak"),
            report::Separator,
            sJob + QStringLiteral(" Daily"),
            sCopy + QStringLiteral(" /data/a.zip"),
            report::Separator,
            sJob + QStringLiteral(" Weekly"),
            sCopyError + QStringLiteral(" /mnt/b.zip"),
            report::Separator,
            QStringLiteral("Daily - ") + sRes[0],
            QStringLiteral("Weekly - ") + sRes[1],
            report::Separator,
            report::timed(sEndProcess),
            QString()};
}

class ReportLineClassTest : public ::testing::Test {
protected:
    void TearDown() override { RestoreBuiltInTexts(); }
};

} // namespace

TEST_F(ReportLineClassTest, RowsAndIconsOfARun)
{
    const QStringList lines = runLines();
    const std::vector<std::pair<RowKind, LineIcon>> expected = {
        {RowKind::Header, LineIcon::None}, {RowKind::Other, LineIcon::Other}, {RowKind::Other, LineIcon::None},
        {RowKind::Job, LineIcon::Job},     {RowKind::Other, LineIcon::Other}, {RowKind::Other, LineIcon::None},
        {RowKind::Job, LineIcon::Job},     {RowKind::Other, LineIcon::Error}, {RowKind::Other, LineIcon::None},
        {RowKind::Other, LineIcon::Other}, {RowKind::Other, LineIcon::Error}, {RowKind::Other, LineIcon::None},
        {RowKind::Header, LineIcon::None}, {RowKind::Other, LineIcon::None},
    };
    ASSERT_EQ(lines.size(), qsizetype(expected.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(report::RowKindOf(lines[i]), expected[i].first) << i << " " << lines[i].toStdString();
        EXPECT_EQ(report::LineIconOf(lines[i]), expected[i].second) << i << " " << lines[i].toStdString();
    }
}

TEST_F(ReportLineClassTest, SpecialLines)
{
    // A line that begins with the ok word is an ok line; the break line and a
    // fatal summary are errors; a printed report's title is a header with an icon.
    EXPECT_EQ(report::LineIconOf(sRes[0] + QStringLiteral(" all done")), LineIcon::Ok);
    EXPECT_EQ(report::LineIconOf(report::timed(sUserBroke)), LineIcon::Error);
    EXPECT_EQ(report::LineIconOf(QStringLiteral("Job - ") + sRes[2]), LineIcon::Error);
    EXPECT_EQ(report::LineIconOf(sSourceNotFount + QStringLiteral(" /gone")), LineIcon::Error);
    EXPECT_EQ(report::RowKindOf(sReport), RowKind::Header);
    EXPECT_EQ(report::LineIconOf(sReport), LineIcon::Other);
    // One dash less than a separator is an ordinary line.
    EXPECT_EQ(report::LineIconOf(QString(49, u'-')), LineIcon::Other);
    // The texts are compared case-sensitively.
    EXPECT_EQ(report::RowKindOf(sBeginProcess.toUpper()), RowKind::Other);
}

TEST_F(ReportLineClassTest, EmptiedTextsMatchNothing)
{
    sJob.clear();
    sRes[0].clear();
    sBeginProcess.clear();
    EXPECT_EQ(report::RowKindOf(QStringLiteral("anything")), RowKind::Other);
    EXPECT_EQ(report::LineIconOf(QStringLiteral("anything")), LineIcon::Other);
}

TEST_F(ReportLineClassTest, BandingHintAndBoldPrint)
{
    EXPECT_FALSE(report::IsBandedRow(0, false));
    EXPECT_TRUE(report::IsBandedRow(1, false));
    EXPECT_FALSE(report::IsBandedRow(1, true));
    EXPECT_FALSE(report::IsBandedRow(2, false));

    EXPECT_FALSE(report::NeedsLineHint(98, 100));
    EXPECT_TRUE(report::NeedsLineHint(99, 100));

    EXPECT_TRUE(report::IsBoldPrintLine(sRes[1] + QStringLiteral(" x")));
    EXPECT_TRUE(report::IsBoldPrintLine(sRes[2]));
    EXPECT_TRUE(report::IsBoldPrintLine(QStringLiteral("x ") + sSourceNotFount));
    // A summary line carries the result word at its end, not at its start.
    EXPECT_FALSE(report::IsBoldPrintLine(QStringLiteral("Weekly - ") + sRes[1]));
}

TEST(ReportFind, DirectionsCaseAndEnds)
{
    const QStringList lines
        = {QStringLiteral("alpha"), QStringLiteral("Beta"), QStringLiteral("beta"), QStringLiteral("gamma")};
    using report::FindReportLine;
    EXPECT_EQ(FindReportLine(lines, -1, {QStringLiteral("BETA"), true, false}), 1);
    EXPECT_EQ(FindReportLine(lines, 1, {QStringLiteral("BETA"), true, false}), 2);
    EXPECT_EQ(FindReportLine(lines, 1, {QStringLiteral("beta"), true, true}), 2);
    EXPECT_EQ(FindReportLine(lines, 0, {QStringLiteral("Beta"), true, true}), 1);
    EXPECT_EQ(FindReportLine(lines, 3, {QStringLiteral("eta"), false, false}), 2);
    EXPECT_EQ(FindReportLine(lines, 3, {QStringLiteral("alpha"), true, false}), -1);
    // Up from the first line, or with nothing selected, finds nothing.
    EXPECT_EQ(FindReportLine(lines, 0, {QStringLiteral("a"), false, false}), -1);
    EXPECT_EQ(FindReportLine(lines, -1, {QStringLiteral("a"), false, false}), -1);
    EXPECT_EQ(FindReportLine(lines, -1, {QString(), true, false}), -1);
}

TEST(ReportText, ReadsCrLfAndLfAndWritesCrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Report.txt"));
    testfiles::writeBytes(path, QByteArray("one\r\n\xc3\xa4two\r\n\r\n"));
    EXPECT_EQ(report::ReadReportText(path),
              QStringList({QStringLiteral("one"), QString::fromUtf8("\xc3\xa4two"), QString()}));
    testfiles::writeBytes(path, "a\nb");
    EXPECT_EQ(report::ReadReportText(path), QStringList({QStringLiteral("a"), QStringLiteral("b")}));
    testfiles::writeBytes(path, "");
    EXPECT_EQ(report::ReadReportText(path), QStringList());
    EXPECT_EQ(report::ReadReportText(dir.filePath(QStringLiteral("missing.txt"))), std::nullopt);

    ASSERT_TRUE(report::WriteReportText(path, {QStringLiteral("x"), QString::fromUtf8("\xc3\xa4")}));
    EXPECT_EQ(testfiles::readBytes(path), QByteArray("x\r\n\xc3\xa4\r\n"));
    EXPECT_FALSE(report::WriteReportText(dir.filePath(QStringLiteral("no/such/folder.txt")), {}));
}

// Reports of the Windows build are in code page 1251, this build's in
// UTF-8, and an appended file may hold both: every job line reads back as
// a job line, so it keeps its bold and its icon.
TEST_F(ReportLineClassTest, ReportsInEitherEncodingReadAsWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Report.txt"));
    const QString job = sJob + QStringLiteral(u" \u0410\u0440\u0445\u0438\u0432");
    const QByteArray cp1251 = testfiles::cp1251Lines({job});
    const QByteArray utf8 = job.toUtf8() + "\r\n";
    for (const QByteArray &bytes : {cp1251, utf8, QByteArray("\xEF\xBB\xBF") + utf8, cp1251 + utf8, utf8 + cp1251}) {
        testfiles::writeBytes(path, bytes);
        const std::optional<QStringList> lines = report::ReadReportText(path);
        ASSERT_TRUE(lines);
        ASSERT_FALSE(lines->isEmpty());
        for (const QString &line : *lines) {
            EXPECT_EQ(line, job) << bytes.toHex().toStdString();
            EXPECT_EQ(report::RowKindOf(line), RowKind::Job);
            EXPECT_EQ(report::LineIconOf(line), LineIcon::Job);
        }
    }
}

TEST(ReportPrintHeader, WithoutVersionBlockKeepsCaptionAndComputer)
{
    const QString header = report::ReportPrintHeader(platform::VersionBlock(), QStringLiteral("Report"),
                                                     QStringLiteral("/jobs/a.dat"), QStringLiteral("host"));
    EXPECT_EQ(header, QStringLiteral("\n\n\tReport /jobs/a.dat\n\t") + sComputerName + QStringLiteral(": host"));
}

TEST(ReportPrintHeader, FromTheProgramsVersionBlock)
{
    const platform::VersionBlock version = platform::VersionBlock::ofFile(QStringLiteral(ZENTAVO_FILE));
    ASSERT_FALSE(version.isEmpty());
    const QString v = version.value(QStringLiteral("ProductVersion"));
    const QStringList lines
        = report::ReportPrintHeader(version, QStringLiteral("Report"), QStringLiteral("a.dat"), QStringLiteral("pc"))
              .split(u'\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], version.value(QStringLiteral("ProductName")) + u' ' + v);
    EXPECT_EQ(lines[1],
              u'\t' + version.value(QStringLiteral("FileDescription")) + QStringLiteral(" (")
                  + version.value(QStringLiteral("FileVersion")) + u')');
    EXPECT_EQ(lines[2], u'\t' + version.value(QStringLiteral("LegalCopyright")));
    EXPECT_EQ(lines[3], QString());
    EXPECT_EQ(lines[4], QStringLiteral("\tReport a.dat"));
}
