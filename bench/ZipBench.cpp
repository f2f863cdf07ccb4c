// Figures of the ZIP component, not a test: peak memory while archiving a
// huge sparse file, and the time to archive a mixed corpus compared with
// Info-ZIP's zip and with zlib alone.
//
//   zip_bench memory [GiB]     archive a sparse file of that size (5)
//   zip_bench corpus [MiB]     archive a corpus of about that size (200)

#include "ZipArchiver.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <zlib.h>

#include <cstdio>

namespace {

long peakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double archiveWithComponent(const QString &folder, const QString &archive, int level)
{
    QFile::remove(archive);
    TZipArchiver zip;
    zip.Zip64Mode = zmAuto;
    zip.SetCompressionMode(level);
    zip.Options.FlushBuffers = false;
    zip.FileName = archive;
    zip.BaseDir = folder;
    zip.FileMasks = {QStringLiteral("*.*")};
    QElapsedTimer timer;
    timer.start();
    zip.OpenArchive();
    zip.AddFiles();
    zip.CloseArchive();
    return double(timer.elapsed()) / 1000.0;
}

int memory(double gib)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("src/"));
    QDir().mkpath(source);
    QFile sparse(source + QStringLiteral("sparse.bin"));
    if (!sparse.open(QIODevice::WriteOnly) || !sparse.resize(qint64(gib * 1024 * 1024 * 1024)))
        return 1;
    sparse.close();
    const long before = peakResidentKiB();
    const double seconds = archiveWithComponent(source, dir.filePath(QStringLiteral("sparse.zip")), 1);
    std::printf("sparse file %.1f GiB: %.1f s, peak resident %ld MiB (before archiving %ld MiB), archive %lld bytes\n",
                gib, seconds, peakResidentKiB() / 1024, before / 1024,
                QFileInfo(dir.filePath(QStringLiteral("sparse.zip"))).size());
    return 0;
}

void makeCorpus(const QString &folder, qint64 totalBytes)
{
    QRandomGenerator random(42);
    QByteArray text;
    for (int i = 0; text.size() < 4 << 20; ++i)
        text += "int function_" + QByteArray::number(i) + "(int value) { return value * "
                + QByteArray::number(random.bounded(1000)) + "; }\n";
    qint64 written = 0;
    for (int i = 0; written < totalBytes; ++i) {
        const QString sub = folder + QStringLiteral("dir%1/").arg(i % 50);
        QDir().mkpath(sub);
        const bool binary = i % 4 == 0;
        const qint64 size = binary ? random.bounded(20000, 400000) : random.bounded(500, 80000);
        QByteArray bytes;
        if (binary) {
            bytes.resize(size);
            for (char &b : bytes)
                b = char(random.bounded(i % 8 == 0 ? 256 : 16));
        } else {
            const qint64 start = random.bounded(qint64(text.size()) - size);
            bytes = text.mid(start, size);
        }
        QFile file(sub + QStringLiteral("file%1.%2").arg(i).arg(binary ? QStringLiteral("bin") : QStringLiteral("c")));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        written += bytes.size();
    }
}

double zlibAlone(const QString &folder, int level)
{
    QElapsedTimer timer;
    timer.start();
    QByteArray out(1 << 20, Qt::Uninitialized);
    z_stream stream{};
    deflateInit2(&stream, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        deflateReset(&stream);
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
        stream.avail_in = uInt(bytes.size());
        int result = Z_OK;
        do {
            stream.next_out = reinterpret_cast<Bytef *>(out.data());
            stream.avail_out = uInt(out.size());
            result = deflate(&stream, Z_FINISH);
        } while (result == Z_OK);
        crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(bytes.size()));
    }
    deflateEnd(&stream);
    return double(timer.elapsed()) / 1000.0;
}

double infoZip(const QString &folder, const QString &archive, int level)
{
    QFile::remove(archive);
    QProcess zip;
    zip.setWorkingDirectory(folder);
    QElapsedTimer timer;
    timer.start();
    zip.start(QStringLiteral("zip"), {QStringLiteral("-qr%1").arg(level), archive, QStringLiteral(".")});
    if (!zip.waitForFinished(600000))
        return -1;
    return double(timer.elapsed()) / 1000.0;
}

int corpus(qint64 mib)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("corpus/"));
    makeCorpus(folder, mib << 20);
    int files = 0;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next())
        ++files;
    std::printf("corpus: %d files, about %lld MiB\n", files, mib);
    for (int level : {1, 6, 9}) {
        const double ours = archiveWithComponent(folder, dir.filePath(QStringLiteral("ours.zip")), level);
        const double theirs = infoZip(folder, dir.filePath(QStringLiteral("theirs.zip")), level);
        const double zlib = zlibAlone(folder, level);
        std::printf("level %d: component %.2f s, zip -r %.2f s (ratio %.2f), zlib alone %.2f s (ratio %.2f), sizes %lld / %lld\n",
                    level, ours, theirs, ours / theirs, zlib, ours / zlib,
                    QFileInfo(dir.filePath(QStringLiteral("ours.zip"))).size(),
                    QFileInfo(dir.filePath(QStringLiteral("theirs.zip"))).size());
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString what = args.value(0, QStringLiteral("memory"));
    if (what == QStringLiteral("memory"))
        return memory(args.value(1, QStringLiteral("5")).toDouble());
    if (what == QStringLiteral("corpus"))
        return corpus(args.value(1, QStringLiteral("200")).toLongLong());
    std::fprintf(stderr, "usage: zip_bench memory [GiB] | corpus [MiB]\n");
    return 2;
}
