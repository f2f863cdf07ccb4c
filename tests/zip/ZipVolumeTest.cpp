#include "ZipTestSupport.h"

#include "Paths.h"

#include <QDirIterator>
#include <QRegularExpression>

using namespace ziptest;

namespace {

// A tree of files that deflate can hardly shrink, so a small volume size
// gives several volumes. Each file is smaller than a volume: the installed
// zip cannot join a set in which one entry spans more than two volumes
// (not even a set it split itself); entries over many volumes are checked
// with 7z instead.
QString makeSources(const QTemporaryDir &temp, qint64 bigFileSize = 0)
{
    const QString root = temp.filePath(QStringLiteral("src"));
    for (int i = 0; i < 5; ++i)
        writeFile(root + QStringLiteral("/part%1.bin").arg(i), randomBytes(50000, quint32(i)));
    if (bigFileSize > 0)
        writeFile(root + QStringLiteral("/sub/big.bin"), randomBytes(bigFileSize, 99));
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

// 7z takes the case of the volume names from the last one's name.
QString lastVolumeFor7z(const QString &archive)
{
    const QString upper = platform::changeFileExt(archive, QStringLiteral(".ZIP"));
    QFile::link(archive, upper);
    return upper;
}

void expect7zExtractsTree(const QString &lastVolume, const QString &target, const QString &sources)
{
    const auto result = ziptools::run(QStringLiteral("7z"), {QStringLiteral("x"), QStringLiteral("-o") + target,
                                                             lastVolume});
    if (!result)
        return;
    EXPECT_EQ(result->exitCode, 0) << result->output.toStdString();
    EXPECT_EQ(treeOf(target), treeOf(sources));
}

} // namespace

TEST(ZipVolumes, SplitSetsStayWithinTheirSizeAndJoinToAnArchiveToolsAccept)
{
    for (const qint64 volumeSize : {qint64(65536), qint64(100000)}) {
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

        if (const auto tested = ziptools::run(QStringLiteral("7z"), {QStringLiteral("t"), lastVolumeFor7z(archive)})) {
            EXPECT_EQ(tested->exitCode, 0) << tested->output.toStdString();
        }

        // zip looks for the volumes by lower-case names.
        for (const QString &name : volumes) {
            if (name.contains(QStringLiteral(".Z")))
                QFile::link(out + u'/' + name, out + u'/' + QString(name).replace(QStringLiteral(".Z"), QStringLiteral(".z")));
        }
        const QString joined = temp.filePath(QStringLiteral("joined.zip"));
        const auto join = ziptools::run(QStringLiteral("zip"), {QStringLiteral("-s"), QStringLiteral("0"), archive,
                                                               QStringLiteral("--out"), joined},
                                        30000);
        if (!join)
            continue;
        ASSERT_EQ(join->exitCode, 0) << join->output.toStdString();
        expectAcceptedByTools(joined);
        expectExtractedTreeEquals(joined, temp.filePath(QStringLiteral("x")), sources);
    }
}

TEST(ZipVolumes, EntriesOverManyVolumesAndAdvancedNaming)
{
    QTemporaryDir temp;
    const QString sources = makeSources(temp, 400000);
    const QString out = temp.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    const QString archive = out + QStringLiteral("/data.zip");

    TZipArchiver zip;
    configureSplit(zip, 70000, true);
    zip.SpanningOptions.FirstVolumeSize = 100000;
    buildArchive(zip, archive, sources);

    const QStringList volumes = filesIn(out);
    ASSERT_GE(volumes.size(), 8);
    EXPECT_EQ(volumes.front(), u"data.zip");
    for (int i = 1; i < volumes.size(); ++i)
        EXPECT_EQ(volumes[i], QStringLiteral("data_%1.zip").arg(i, 3, 10, QChar(u'0')));
    EXPECT_EQ(QFileInfo(out + QStringLiteral("/data_001.zip")).size(), 100000);
    EXPECT_EQ(QFileInfo(out + QStringLiteral("/data_002.zip")).size(), 70000);
    // 7z does not know this naming; copies under the usual names stand in.
    const QString renamed = temp.filePath(QStringLiteral("renamed"));
    QDir().mkpath(renamed);
    for (int i = 1; i < volumes.size(); ++i)
        QFile::copy(out + u'/' + volumes[i], renamed + QStringLiteral("/data.Z%1").arg(i, 2, 10, QChar(u'0')));
    QFile::copy(archive, renamed + QStringLiteral("/data.ZIP"));
    expect7zExtractsTree(renamed + QStringLiteral("/data.ZIP"), temp.filePath(QStringLiteral("x")), sources);
}
