#include "ZipTestSupport.h"
#include "zip/ZAReadAhead.h"
#include "zip/ZASplitStream.h"
#include "zip/ZAStreamIO.h"
#include "zip/ZAStubStream.h"
#include "zip/ZAVolumeNames.h"

#include <QBuffer>

#include <map>

using namespace zavolumes;

TEST(ZipVolumeNames, SplitSetsNamedByIndexWithTheLastKeepingTheArchiveName)
{
    const QString name = QStringLiteral("/backup/data.zip");
    const Naming plain{smSplitting, false, false};
    EXPECT_EQ(GetVolumeFileName(name, 0, plain), u"/backup/data.z01");
    EXPECT_EQ(GetVolumeFileName(name, 11, plain), u"/backup/data.z12");
    // The tools look for the volumes in the case of the last one's extension.
    EXPECT_EQ(GetVolumeFileName(QStringLiteral("/backup/DATA.ZIP"), 0, plain), u"/backup/DATA.Z01");
    EXPECT_EQ(GetVolumeFileName(name, 0, {smSplitting, false, false, true}), u"/backup/data.Z01");
    EXPECT_EQ(GetVolumeFileName(name, LastVolume, plain), name);

    const Naming advanced{smSplitting, true, false};
    EXPECT_EQ(GetVolumeFileName(name, 0, advanced), u"/backup/data_001.zip");
    EXPECT_EQ(GetVolumeFileName(name, 1, advanced), u"/backup/data_002.zip");
    EXPECT_EQ(GetVolumeFileName(name, LastVolume, advanced), name);

    const Naming sfx{smSplitting, false, true};
    EXPECT_EQ(GetVolumeFileName(name, 0, sfx), u"/backup/data.exe");
    EXPECT_EQ(GetVolumeFileName(name, 1, sfx), u"/backup/data.Z02");
    EXPECT_EQ(GetVolumeFileName(name, LastVolume, sfx), u"/backup/data.ZIP");
    // An ".exe" name alone makes the set self-extracting.
    EXPECT_EQ(GetVolumeFileName(QStringLiteral("/backup/data.exe"), LastVolume, plain), u"/backup/data.ZIP");

    EXPECT_EQ(GetVolumeFileName(name, 3, {smNone, false, false}), name);
    EXPECT_EQ(GetVolumeFileName(name, 4, {smSpanning, false, false}), name);
    EXPECT_EQ(GetVolumeFileName(name, 1, {smSpanning, true, true}), u"/backup/data_002.exe");
    EXPECT_EQ(GetVolumeFileName(QStringLiteral("noext"), 0, plain), u"noext.z01");

    EXPECT_TRUE(IsExeName(QStringLiteral("a/setup.EXE")));
    EXPECT_FALSE(IsExeName(QStringLiteral("a.exe/setup.zip")));
}

namespace {

// A buffer that takes at most limit bytes, like a file on a full disk.
class FullDiskBuffer : public QBuffer {
public:
    explicit FullDiskBuffer(qint64 limit) : m_limit(limit) {}

protected:
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 room = std::max<qint64>(m_limit - pos(), 0);
        if (room == 0)
            return -1;
        return QBuffer::writeData(data, std::min(size, room));
    }

private:
    qint64 m_limit;
};

// Volumes in memory; each claims capacity bytes, but the device of a
// volume takes only deviceLimit bytes.
class MemoryVolumes : public TZAVolumeHost {
public:
    qint64 capacity = 1000;
    qint64 deviceLimit = 1 << 30;
    // Requests for volumes after this one are cancelled.
    int lastVolume = 1 << 30;
    int requests = 0;
    std::map<QString, QByteArray> files;

    BlankVolume RequestBlankVolume(int index) override
    {
        // A writer that asks for volumes without end fails here at once
        // rather than hanging the test.
        if (++requests > 100)
            throw std::runtime_error("volumes requested without end");
        if (index > lastVolume)
            throw EZAException(zaconst::neVolumeRequestCancelled);
        return {VolumeName(index), capacity};
    }
    QString VolumeName(int index) const override { return QStringLiteral("v%1").arg(index); }
    QString LastVolumeName() const override { return QStringLiteral("last"); }
    std::unique_ptr<QIODevice> OpenVolume(const QString &name, QIODevice::OpenMode mode) override
    {
        auto device = std::make_unique<Volume>(*this, name);
        if (!(mode & QIODevice::Truncate))
            device->buffer() = files[name];
        device->open(QIODevice::ReadWrite);
        return device;
    }
    bool RenameVolume(const QString &from, const QString &to) override
    {
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void RemoveVolume(const QString &name) override { files.erase(name); }

private:
    // Keeps its bytes in the host when closed.
    class Volume : public FullDiskBuffer {
    public:
        Volume(MemoryVolumes &host, QString name)
            : FullDiskBuffer(host.deviceLimit)
            , m_host(host)
            , m_name(std::move(name))
        {
        }
        ~Volume() override { m_host.files[m_name] = buffer(); }

    private:
        MemoryVolumes &m_host;
        QString m_name;
    };
};

} // namespace

TEST(ZipSplitStream, WritesAcrossVolumesKeepsRecordsWholeAndRewritesInPlace)
{
    MemoryVolumes host;
    {
        TZASplitStream stream(host);
        stream.StartNew();
        zastream::writeChecked(stream, QByteArray(900, 'a'));
        stream.KeepTogether(200); // does not fit the 100 bytes left
        EXPECT_EQ(stream.CurrentVolume(), 1);
        EXPECT_EQ(stream.pos(), 900);
        zastream::writeChecked(stream, QByteArray(1500, 'b'));
        EXPECT_EQ(stream.CurrentVolume(), 2);
        // Rewriting bytes that lie across two earlier volumes.
        zastream::seekChecked(stream, 899);
        zastream::writeChecked(stream, QByteArray("XY"));
        zastream::seekChecked(stream, stream.size());
        EXPECT_EQ(stream.VolumePosition(1900), std::make_pair(uint32_t(2), qint64(0)));
        EXPECT_EQ(stream.StreamPosition(1, 10), 910);
        stream.Finish();
        EXPECT_EQ(zastream::readAt(stream, 898, 4), QByteArray("aXYb"));
    }
    EXPECT_EQ(host.files.at(QStringLiteral("v0")).size(), 900);
    EXPECT_EQ(host.files.at(QStringLiteral("v1")).size(), 1000);
    EXPECT_EQ(host.files.at(QStringLiteral("last")).size(), 500);
    EXPECT_EQ(host.files.count(QStringLiteral("v2")), 0u);
    EXPECT_EQ(host.files.at(QStringLiteral("v1")).front(), 'Y');

    // Cutting back removes the volumes behind the cut.
    TZASplitStream again(host);
    again.OpenExisting({QStringLiteral("v0"), QStringLiteral("v1"), QStringLiteral("last")}, true, 1000);
    EXPECT_EQ(again.size(), 2400);
    zastream::truncate(again, 950);
    EXPECT_EQ(again.CurrentVolume(), 1);
    again.close();
    EXPECT_EQ(host.files.count(QStringLiteral("last")), 0u);
    EXPECT_EQ(host.files.at(QStringLiteral("v1")).size(), 50);
}

TEST(ZipSplitStream, RecordLargerThanAFreshVolumeFailsInsteadOfOpeningVolumesWithoutEnd)
{
    MemoryVolumes host;
    host.capacity = 100;
    TZASplitStream stream(host);
    stream.StartNew();
    zastream::writeChecked(stream, QByteArray(10, 'a'));
    EXPECT_EQ(ziptest::nativeErrorOf([&] { stream.KeepTogether(150); }), zaconst::neWriteFailed);
    EXPECT_EQ(host.requests, 2);

    // A volume without any room (no free space) fails the same way.
    MemoryVolumes noRoom;
    noRoom.capacity = 0;
    TZASplitStream empty(noRoom);
    empty.StartNew();
    EXPECT_EQ(ziptest::nativeErrorOf([&] { zastream::writeChecked(empty, QByteArray(10, 'a')); }),
              zaconst::neWriteFailed);
    EXPECT_EQ(noRoom.requests, 1);
}

// A volume's disk that fills before the volume does fails the archive.
TEST(ZipSplitStream, ShortWriteOfAFullDiskFailsTheArchive)
{
    MemoryVolumes host;
    host.deviceLimit = 300;
    TZASplitStream stream(host);
    stream.StartNew();
    EXPECT_EQ(ziptest::nativeErrorOf([&] { zastream::writeChecked(stream, QByteArray(500, 'a')); }),
              zaconst::neDiskFull);
}

TEST(ZipStubStream, PutsTheStubInFrontAndPassesTheFailuresOfTheLayerBelowUp)
{
    QTemporaryDir temp;
    const QString stubFile = temp.filePath(QStringLiteral("stub.exe"));
    const QString target = temp.filePath(QStringLiteral("data.exe"));
    ziptest::writeFile(stubFile, "STUB");
    ziptest::writeFile(target, {});
    MemoryVolumes host;
    host.capacity = 10;
    host.lastVolume = 0;
    auto volumes = std::make_unique<TZASplitStream>(host);
    volumes->StartNew();
    TZAStubStream stream(std::move(volumes), {stubFile, target, -1, {}});

    EXPECT_EQ(stream.PrefixSize(), 4);
    EXPECT_EQ(zastream::readAt(stream, 0, 4), QByteArray("STUB"));
    EXPECT_TRUE(QFileInfo(target).isExecutable());
    EXPECT_TRUE(stream.IsMultiVolume());
    zastream::writeChecked(stream, QByteArray("abc"));
    EXPECT_EQ(stream.VolumePosition(6), std::make_pair(uint32_t(0), qint64(6)));
    // The second volume is refused: the write fails with the refusal's
    // own code, not a bare write error.
    EXPECT_EQ(ziptest::nativeErrorOf([&] { zastream::writeChecked(stream, QByteArray("defgh")); }),
              zaconst::neVolumeRequestCancelled);

    MemoryVolumes small;
    small.capacity = 100;
    auto tooSmall = std::make_unique<TZASplitStream>(small);
    tooSmall->StartNew();
    EXPECT_EQ(ziptest::nativeErrorOf([&] {
                  TZAStubStream(std::move(tooSmall), {stubFile, target, 3, {}});
              }),
              zaconst::neStubTooLarge);
}

TEST(ZipCopyTempFile, CopiesInBlocksAndFailsOnAShortWrite)
{
    const QByteArray data = ziptest::randomBytes(2500000, 7);
    QBuffer source;
    source.setData(data);
    source.open(QIODevice::ReadOnly);
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    QList<qint64> reports;
    EXPECT_EQ(zastream::CopyTempFileToDest(source, target, -1,
                                           [&](qint64 done, qint64 total) {
                                               reports.append(done * 100 / total);
                                               return false;
                                           }),
              2500000);
    EXPECT_EQ(reports, (QList<qint64>{40, 80, 100}));
    EXPECT_EQ(target.data(), data);

    source.seek(0);
    FullDiskBuffer full(1500000);
    full.open(QIODevice::WriteOnly);
    EXPECT_EQ(ziptest::nativeErrorOf([&] { zastream::CopyTempFileToDest(source, full, -1); }), zaconst::neWriteFailed);
}

TEST(ZipCopyTempFile, ReportsStartEachBlockAndEndThroughTheArchiver)
{
    QBuffer source;
    source.setData(QByteArray(2500000, 'z'));
    source.open(QIODevice::ReadOnly);
    const auto target = ziptest::memoryStream();
    TZipArchiver zip;
    QList<std::pair<double, TZAProgressPhase>> reports;
    zip.OnCopyTempFileProgress = [&](TZABaseArchiver &, double progress, TZAProgressPhase phase, bool &cancel) {
        reports.append({progress, phase});
        cancel = phase == ppProcess && progress >= 80.0;
    };
    EXPECT_FALSE(zip.CopyTempFileToDest(source, *target, -1, true));
    const QList<std::pair<double, TZAProgressPhase>> expected{
        {0.0, ppStart}, {40.0, ppProcess}, {80.0, ppProcess}, {100.0, ppEnd}};
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(target->size(), 2000000);
}

// Reads through the window answer what the device holds, wherever they
// start: backwards, across a window's end, past the end of the device, and
// for no bytes at all (where the device hands over no buffer).
TEST(ZipReadAhead, AnswersTheDevicesBytesWhereverTheReadsGo)
{
    const QByteArray bytes = ziptest::randomBytes(600 * 1024, 11);
    QBuffer below;
    below.setData(bytes);
    ASSERT_TRUE(below.open(QIODevice::ReadOnly));
    TZAReadAhead ahead(below);
    struct Read {
        qint64 pos;
        qint64 size;
    };
    const Read reads[] = {{0, 30},
                          {30, 0},
                          {100, 5},
                          {10, 20},
                          {250 * 1024, 20 * 1024},
                          {599 * 1024, 4096},
                          {bytes.size(), 0},
                          {bytes.size(), 30},
                          {500 * 1024, 0}};
    for (const Read &read : reads) {
        SCOPED_TRACE(read.pos);
        EXPECT_EQ(zastream::readAt(ahead, read.pos, read.size), bytes.mid(read.pos, read.size));
    }
}
