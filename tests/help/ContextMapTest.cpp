#include "TestFiles.h"
#include "help/HelpContextMap.h"
#include "help/HelpError.h"
#include "help/HelpUtils.h"
#include "help/MapFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace help;

namespace {

TEST(HashNameTest, WeighsLettersAlikeInBothCasesAndWraps)
{
    struct Case {
        QByteArray name;
        qint32 hash;
    } cases[] = {
        {"", 0},
        {"A", 17},
        {"a", 17},
        {"AB", 749},
        {"ab", 749},
        {"Z", 42},
        {"1", 1},
        {"0", 10},
        {"_", 13},
        {" ", -16},
        {"\x01", 209},
        {"\x91", 97},
        {"\xff", -49},
        // Seven letters pass 2^31: the sum wraps to a negative number.
        {"AAAAAAA", -1647330915},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HashName(c.name), c.hash) << c.name.toHex().constData();
    EXPECT_EQ(HashName(QStringLiteral("FormZentavo_ListBoxRep")), HashName(QByteArray("formzentavo_listboxrep")));
}

class MapFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString write(const QString &name, const QByteArray &text)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        testfiles::writeBytes(path, text);
        return path;
    }
};

TEST_F(MapFileTest, ReadsDefinesMapSectionsAndIncludesBesideTheirFile)
{
    write(QStringLiteral("sub/More.h"), "#define Form_Extra 0x20 // hex\n");
    write(QStringLiteral("sub/Common.h"), "#INCLUDE \"More.h\"\n#define Form_Common 7\n");
    const QString main = write(QStringLiteral("Main.hhp"),
                               "[OPTIONS]\nTitle=x 5\n[MAP]\nForm_A 1\nForm_B=2 ; note\n#include <sub/Common.h>\n"
                               "[FILES]\nnot_a_name 3\n#define Form_C -4\n");
    const QList<MapEntry> expected = {{QStringLiteral("Form_A"), 1},
                                      {QStringLiteral("Form_B"), 2},
                                      {QStringLiteral("Form_Extra"), 32},
                                      {QStringLiteral("Form_Common"), 7},
                                      {QStringLiteral("Form_C"), -4}};
    EXPECT_EQ(ParseMapFile(main), expected);
}

TEST_F(MapFileTest, MissingFilesAndIncludeCyclesAreReportedNotFollowed)
{
    const QString missingInclude = write(QStringLiteral("a.h"), "#include \"gone.h\"\n");
    const QString self = write(QStringLiteral("self.h"), "#define X 1\n#include \"self.h\"\n");
    write(QStringLiteral("c1.h"), "#include \"c2.h\"\n");
    write(QStringLiteral("c2.h"), "#include \"c1.h\"\n");
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {dir.filePath(QStringLiteral("none.h")),
         QStringLiteral("File ") + dir.filePath(QStringLiteral("none.h")) + QStringLiteral(" not found.")},
        {missingInclude, QStringLiteral("Include file \"gone.h\" not found!")},
        {self, QStringLiteral("Include file \"self.h\" includes itself through a cycle of includes!")},
        {dir.filePath(QStringLiteral("c1.h")),
         QStringLiteral("Include file \"c1.h\" includes itself through a cycle of includes!")},
    };
    for (const auto &c : cases) {
        try {
            ParseMapFile(c.path);
            ADD_FAILURE() << "no error for " << c.path.toStdString();
        } catch (const EHelpError &error) {
            EXPECT_EQ(error.message(), c.message);
        }
    }
    // The same file twice side by side is no cycle.
    write(QStringLiteral("leaf.h"), "#define Leaf 9\n");
    const QString twice = write(QStringLiteral("twice.h"), "#include \"leaf.h\"\n#include \"leaf.h\"\n");
    EXPECT_EQ(ParseMapFile(twice).size(), 2);
}

TEST_F(MapFileTest, ContextMapFindsTheContextsOfItsMapFile)
{
    // Enough names that the search has to move both ways, with hashes of
    // both signs (long names wrap to negative numbers).
    QByteArray text;
    QList<MapEntry> entries;
    for (int i = 1; i <= 40; ++i) {
        const QString name = QStringLiteral("Form%1_LongControlName").arg(i * 7919);
        text += "#define " + name.toUtf8() + ' ' + QByteArray::number(i * 3) + '\n';
        entries.append({name, i * 3});
    }
    THelpContextMap map;
    EXPECT_EQ(map.SetFileName(write(QStringLiteral("Context.h"), text)), 40);
    EXPECT_EQ(map.Count(), 40);
    bool negative = false;
    for (const MapEntry &entry : entries) {
        EXPECT_EQ(map.FindContext(entry.name), entry.context) << entry.name.toStdString();
        negative = negative || HashName(entry.name) < 0;
    }
    EXPECT_TRUE(negative);
    EXPECT_EQ(map.FindContext(QStringLiteral("Form1_LongControlNam")), 0);
    EXPECT_EQ(map.FindContext(QString()), 0);
    EXPECT_EQ(THelpContextMap().FindContext(QStringLiteral("A")), 0);
}

TEST(ContextMapDataTest, StoredDataRoundTripsAndDamagedLengthsAreRefused)
{
    THelpContextMap map;
    EXPECT_TRUE(map.WriteFileData().isEmpty());
    const QByteArray records = THelpContextMap::BuildRecords({{QStringLiteral("B"), 2}, {QStringLiteral("A"), 1}});
    QByteArray stored(4, '\0');
    qToLittleEndian<quint32>(16, stored.data());
    stored += records;
    map.ReadFileData(stored);
    EXPECT_EQ(map.WriteFileData(), stored);
    EXPECT_EQ(map.FindContext(QStringLiteral("a")), 1);

    const auto withLength = [&](quint32 length) {
        QByteArray damaged = stored;
        qToLittleEndian<quint32>(length, damaged.data());
        return damaged;
    };
    for (const QByteArray &damaged : {withLength(24), withLength(12), withLength(0xFFFFFFF8u), QByteArray("\x08")}) {
        EXPECT_THROW(map.ReadFileData(damaged), EHelpError);
        // The map keeps what it had.
        EXPECT_EQ(map.FindContext(QStringLiteral("B")), 2);
    }
}

} // namespace
