#include "ZipTestSupport.h"

#include <QDirIterator>

using namespace ziptest;

namespace {

// A tree of files that deflate can hardly shrink, so a small volume size
// gives several volumes.
QString makeSources(const QTemporaryDir &temp)
{
    const QString root = temp.filePath(QStringLiteral("src"));
    writeFile(root + QStringLiteral("/big.bin"), randomBytes(300000, 1));
    writeFile(root + QStringLiteral("/sub/mid.bin"), randomBytes(120000, 2));
    writeFile(root + QStringLiteral("/sub/text.txt"), textBytes(2000));
    writeFile(root + QStringLiteral("/empty.dat"), {});
    return root;
}

void configureSplit(TZABaseArchiver &zip, qint64 volumeSize, bool advancedNaming)
{
    zip.SetSpanningMode(smSplitting);
    zip.SpanningOptions.AdvancedNaming = advancedNaming;
    zip.SpanningOptions.VolumeSize = vsCustom;
    zip.SpanningOptions.SetCustomVolumeSize(volumeSize);
}

QStringList filesIn(const QString &folder, const QStringList &filters = {})
{
    QStringList names = QDir(folder).entryList(filters, QDir::Files, QDir::Name);
    return names;
}

// Relative path -> contents of every file below root.
std::map<QString, QByteArray> treeOf(const QString &root)
{
    std::map<QString, QByteArray> tree;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        tree[QDir(root).relativeFilePath(path)] = testfiles::readBytes(path);
    }
    return tree;
}

void expectExtractedTreeEquals(const QString &archive, const QString &target, const QString &sources)
{
    const auto result = ziptools::run(QStringLiteral("unzip"), {QStringLiteral("-qq"), archive,
                                                                QStringLiteral("-d"), target});
    if (!result)
        return;
    EXPECT_EQ(result->exitCode, 0) << result->output.toStdString();
    EXPECT_EQ(treeOf(target), treeOf(sources));
}

} // namespace

TEST(ZipVolumes, SplitSetsStayWithinTheirSizeAndJoinToAnArchiveToolsAccept)
{
    for (const qint64 volumeSize : {qint64(65536), qint64(150000)}) {
        SCOPED_TRACE(volumeSize);
        QTemporaryDir temp;
        const QString sources = makeSources(temp);
        const QString out = temp.filePath(QStringLiteral("out"));
        QDir().mkpath(out);
        const QString archive = out + QStringLiteral("/data.zip");

        TZipArchiver zip;
        configureSplit(zip, volumeSize, false);
        buildArchive(zip, archive, sources);

        const QStringList volumes = filesIn(out);
        ASSERT_GE(volumes.size(), 3) << volumes.join(u' ').toStdString();
        for (const QString &name : volumes) {
            EXPECT_LE(QFileInfo(out + u'/' + name).size(), volumeSize) << name.toStdString();
            EXPECT_TRUE(name == u"data.zip" || QRegularExpression(QStringLiteral("^data\\.Z\\d\\d$")).match(name).hasMatch())
                << name.toStdString();
        }
        EXPECT_TRUE(volumes.contains(QStringLiteral("data.Z01")));

        // 7z takes the case of the volume names from the last one's name.
        QFile::link(archive, out + QStringLiteral("/data.ZIP"));
        if (const auto tested = ziptools::run(QStringLiteral("7z"), {QStringLiteral("t"), out + QStringLiteral("/data.ZIP")}))
            EXPECT_EQ(tested->exitCode, 0) << tested->output.toStdString();

        const QString joined = temp.filePath(QStringLiteral("joined.zip"));
        const auto join = ziptools::run(QStringLiteral("zip"), {QStringLiteral("-s"), QStringLiteral("0"), archive,
                                                               QStringLiteral("--out"), joined},
                                        30000);
        if (!join)
            continue;
        // zip looks for the volumes by lower-case names.
        ASSERT_EQ(join->exitCode, 0) << join->output.toStdString();
        expectAcceptedByTools(joined);
        expectExtractedTreeEquals(joined, temp.filePath(QStringLiteral("x")), sources);
    }
}
