#include "platform/VersionBlock.h"

#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using platform::VersionBlock;

namespace {

QString value(const QString &file, const char *name)
{
    return VersionBlock::ofFile(file).value(QString::fromLatin1(name));
}

} // namespace

TEST(VersionBlock, ReadFromTheBuiltPrograms)
{
    const QString vorrin = QStringLiteral(VORRIN_FILE);
    EXPECT_EQ(value(vorrin, "ProductName"), QStringLiteral("The Zentavo"));
    EXPECT_EQ(value(vorrin, "ProductVersion"), QStringLiteral(PROJECT_VERSION_TEXT));
    EXPECT_EQ(value(vorrin, "FileVersion"), QStringLiteral(PROJECT_VERSION_TEXT ".0"));
    EXPECT_EQ(value(vorrin, "FileDescription"), QStringLiteral("The Zentavo scheduler of start"));
    EXPECT_FALSE(value(vorrin, "LegalCopyright").isEmpty());
    EXPECT_EQ(value(QStringLiteral(ZENTAVO_FILE), "FileDescription"),
              QStringLiteral("Backup of files into ZIP archives"));
    EXPECT_EQ(value(QStringLiteral(PELVARO_FILE), "FileDescription"), QStringLiteral("Job file editor"));
    EXPECT_TRUE(value(vorrin, "NoSuchValue").isEmpty());
}

TEST(VersionBlock, FileWithoutBlockGivesNothing)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain"));
    testfiles::writeBytes(plain, QByteArray(100000, 'x'));
    EXPECT_TRUE(VersionBlock::ofFile(plain).isEmpty());
    EXPECT_TRUE(VersionBlock::ofFile(dir.filePath(QStringLiteral("missing"))).isEmpty());

    // A begin marker without its end, as in a damaged or foreign file.
    const QString cut = dir.filePath(QStringLiteral("cut"));
    testfiles::writeBytes(cut, QByteArray("junk") + VersionBlock::beginMarker() + "ProductName=Half\n");
    EXPECT_TRUE(VersionBlock::ofFile(cut).isEmpty());
}

TEST(VersionBlock, SkipsAStrayMarkerBeforeTheBlock)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("program"));
    testfiles::writeBytes(file,
                          VersionBlock::beginMarker() + QByteArray(5000, 'z') + VersionBlock::beginMarker()
                              + "ProductName=Ünïcode name\nProductVersion=2.1\n" + VersionBlock::endMarker());
    const VersionBlock block = VersionBlock::ofFile(file);
    EXPECT_EQ(block.value(QStringLiteral("ProductName")), QStringLiteral("Ünïcode name"));
    EXPECT_EQ(block.value(QStringLiteral("ProductVersion")), QStringLiteral("2.1"));
}

TEST(VersionBlock, RunningProgramWithoutBlock)
{
    EXPECT_TRUE(VersionBlock::ofRunningProgram().isEmpty());
}
