#include "editor/JobFileFormat.h"
#include "engine/JobFileReader.h"

#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

// Both readers take any bytes without a crash or a hang, and whatever the
// editor reads and saves reads back the same.
namespace {

QByteArray randomJobFile(std::mt19937 &random)
{
    static const QStringList pieces{QStringLiteral(">"),
                                    QStringLiteral("D="),
                                    QStringLiteral("C="),
                                    QStringLiteral("E="),
                                    QStringLiteral("W="),
                                    QStringLiteral("m="),
                                    QStringLiteral("Q="),
                                    QStringLiteral("Y="),
                                    QStringLiteral("CMD1="),
                                    QStringLiteral("cmd2="),
                                    QStringLiteral("//"),
                                    QStringLiteral("="),
                                    QStringLiteral("/x"),
                                    QStringLiteral("a"),
                                    QStringLiteral(u"\u0414:"),
                                    QStringLiteral(u"\u041D:"),
                                    QStringLiteral(">x"),
                                    QStringLiteral("135"),
                                    QString()};
    QStringList lines;
    const int count = std::uniform_int_distribution(0, 40)(random);
    for (int i = 0; i < count; ++i) {
        QString line;
        const int parts = std::uniform_int_distribution(0, 3)(random);
        for (int p = 0; p < parts; ++p)
            line += pieces.at(std::uniform_int_distribution<qsizetype>(0, pieces.size() - 1)(random));
        lines << line;
    }
    QByteArray bytes = testfiles::cp1251Lines(lines);
    if (std::uniform_int_distribution(0, 1)(random))
        bytes.replace("\r\n", "\n");
    // Cut anywhere, also inside a line end.
    bytes.truncate(std::uniform_int_distribution<qsizetype>(0, bytes.size())(random));
    return bytes;
}

} // namespace

TEST(JobFileFuzz, ReadersSurviveAnyInputAndSavesReadBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.dat"));
    const QString copy = dir.filePath(QStringLiteral("copy.dat"));
    std::mt19937 random(20261209);
    int saved = 0;
    for (int round = 0; round < 1500; ++round) {
        testfiles::writeBytes(path, randomJobFile(random));
        zentavo::TBlocks blocks;
        ASSERT_TRUE(zentavo::ReadFDat(path, blocks));

        const std::optional<pelvo::JobList> read = pelvo::ReadJobFile(path);
        ASSERT_TRUE(read);
        if (!pelvo::SaveJobFile(copy, *read).isEmpty())
            continue; // refused with a message: fine, as long as nothing is written wrong
        ++saved;
        const std::optional<pelvo::JobList> again = pelvo::ReadJobFile(copy);
        ASSERT_TRUE(again);
        ASSERT_EQ(again->names, read->names) << "round " << round;
        for (std::size_t b = 0; b < read->blocks.size(); ++b) {
            const pelvo::TBlock &x = read->blocks[b];
            const pelvo::TBlock &y = again->blocks[b];
            ASSERT_EQ(y.GetStr(pelvo::ArchiveName), x.GetStr(pelvo::ArchiveName)) << "round " << round;
            ASSERT_EQ(y.GetStr(pelvo::Comment), x.GetStr(pelvo::Comment)) << "round " << round;
            ASSERT_EQ(y.Sources, x.Sources) << "round " << round;
            ASSERT_EQ(y.Dests, x.Dests) << "round " << round;
            ASSERT_EQ(y.ExtCopies, x.ExtCopies) << "round " << round;
            ASSERT_EQ(y.Cmds, x.Cmds) << "round " << round;
        }
    }
    // The generator must reach the writer often enough to mean something.
    EXPECT_GT(saved, 150);
}
