// Figures of the ZIP component, not a test: the time to archive a generated
// corpus on one thread and on every core, compared with Info-ZIP's zip -6,
// 7-Zip writing a ZIP on as many threads, and zlib alone (deflate and CRC of
// the same bytes on one thread); and the peak memory on a huge file. Each
// archiver runs as its own process, the rounds interleaved, the median shown.
//
//   zip_bench corpus [MiB] [rounds]    mixed corpus of about that size (240, 3)
//   zip_bench small [files] [rounds]   that many one-byte files (70000, 3)
//   zip_bench update [files] [rounds]  update of that many one-byte files (300000, 3)
//   zip_bench memory [GiB]             one sparse file of that size (5)

#include "zip/ZipArchiver.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int Level = 6;

// A daily run's view of the archiver: it works on a worker thread and the
// window on the main thread shows every change of the file gauge.
void showProgressAsTheWindowDoes(TZipArchiver &zip, QObject &window, int &shown)
{
    auto lastPercent = std::make_shared<int>(-1);
    const auto show = [&window, &shown, lastPercent](double progress) {
        const int percent = int(progress + 0.5);
        if (percent == *lastPercent)
            return;
        *lastPercent = percent;
        QMetaObject::invokeMethod(
            &window, [&shown] { ++shown; }, Qt::QueuedConnection);
    };
    zip.OnFileProgress = [show](TZABaseArchiver &, const QString &, double progress, TZAProcessOperation,
                                TZAProgressPhase, bool &) { show(progress); };
    zip.OnCopyTempFileProgress
        = [show](TZABaseArchiver &, double progress, TZAProgressPhase, bool &) { show(progress); };
}

// The child's side: archive a folder at a level on a number of threads;
// a level below 0 updates an existing archive as a daily run does (files
// newer than their entries replace them, on a worker thread).
int archiveFolder(const QString &folder, const QString &archive, int threads, int level)
{
    TZipArchiver zip;
    const bool update = level < 0;
    if (!update)
        QFile::remove(archive);
    zip.Options.OverwriteMode = update ? omIfNewer : omAlways;
    zip.Zip64Mode = zmAuto;
    zip.SetCompressionMode(update ? Level : level);
    zip.Options.FlushBuffers = false;
    zip.Options.Threads = threads;
    zip.FileName = archive;
    zip.BaseDir = folder;
    zip.FileMasks = {QStringLiteral("*.*")};
    const auto archiveAll = [&zip] {
        zip.OpenArchive();
        zip.AddFiles();
        zip.CloseArchive();
    };
    if (!update) {
        archiveAll();
        return 0;
    }
    QObject window;
    int shown = 0;
    showProgressAsTheWindowDoes(zip, window, shown);
    std::unique_ptr<QThread> worker(QThread::create(archiveAll));
    QObject::connect(worker.get(), &QThread::finished, QCoreApplication::instance(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
    worker->start();
    QCoreApplication::exec();
    worker->wait();
    return 0;
}

struct Run {
    double seconds = -1;
    long peakKiB = 0;
};

// Runs a program to its end in a folder; its time and its own peak
// resident memory (from the kernel's account of that one child).
Run runProcess(const QString &program, const QStringList &arguments, const QString &workingFolder = {},
               int alsoSuccess = 0)
{
    std::vector<QByteArray> strings{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        strings.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &string : strings)
        argv.push_back(string.data());
    argv.push_back(nullptr);
    const QByteArray folder = QFile::encodeName(workingFolder);
    QElapsedTimer timer;
    timer.start();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        if (!folder.isEmpty() && chdir(folder.constData()) != 0)
            _exit(127);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status)
        || (WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != alsoSuccess))
        return {};
    return {double(timer.elapsed()) / 1000.0, usage.ru_maxrss};
}

Run ours(const QString &folder, const QString &archive, int threads, int level = Level)
{
    return runProcess(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("archive"), folder, archive, QString::number(threads), QString::number(level)});
}

Run zlibAlone(const QString &folder)
{
    QElapsedTimer timer;
    timer.start();
    QByteArray out(1 << 20, Qt::Uninitialized);
    z_stream stream{};
    deflateInit2(&stream, Level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
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
    return {double(timer.elapsed()) / 1000.0, 0};
}

void makeCorpus(const QString &folder, qint64 totalBytes)
{
    QRandomGenerator random(42);
    QByteArray text;
    for (int i = 0; text.size() < 8 << 20; ++i)
        text += "static inline int function_" + QByteArray::number(i)
            + "(const struct item *value) { return value->field_" + QByteArray::number(random.bounded(1000)) + " * "
            + QByteArray::number(random.bounded(100000)) + "; }\n";
    // A fifth of the bytes cannot be compressed, as in a corpus with media.
    const qint64 randomBytes = totalBytes / 5;
    qint64 written = 0;
    for (int i = 0; written < totalBytes; ++i) {
        const QString sub = folder + QStringLiteral("dir%1/").arg(i % 60);
        QDir().mkpath(sub);
        QByteArray bytes;
        QString extension;
        if (written < randomBytes) {
            bytes.resize(random.bounded(1 << 20, 8 << 20));
            random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
            extension = QStringLiteral("raw");
        } else if (i % 4 == 0) {
            // Like a program: runs of text and tables between bytes that
            // repeat little.
            const qint64 size = random.bounded(20000, 3 << 20);
            while (bytes.size() < size) {
                QByteArray piece(random.bounded(16, 128), Qt::Uninitialized);
                if (random.bounded(2) == 0)
                    piece = text.mid(random.bounded(qint64(text.size()) - 128), piece.size());
                else
                    random.fillRange(reinterpret_cast<quint32 *>(piece.data()), piece.size() / 4);
                bytes += piece;
            }
            extension = QStringLiteral("so");
        } else {
            const qint64 size = random.bounded(200, 120000);
            bytes = text.mid(random.bounded(qint64(text.size()) - size), size);
            extension = QStringLiteral("h");
        }
        QFile file(sub + QStringLiteral("file%1.%2").arg(i).arg(extension));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        written += bytes.size();
    }
}

void makeSmallFiles(const QString &folder, int count)
{
    for (int i = 0; i < count; ++i) {
        const QString sub = folder + QStringLiteral("d%1/").arg(i / 1000);
        if (i % 1000 == 0)
            QDir().mkpath(sub);
        QFile file(sub + QStringLiteral("f%1").arg(i));
        file.open(QIODevice::WriteOnly);
        file.write("x", 1);
    }
}

qint64 folderBytes(const QString &folder, int *files)
{
    qint64 bytes = 0;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        it.next();
        bytes += it.fileInfo().size();
        ++*files;
    }
    return bytes;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

// Runs every contender round after round and prints the medians.
int compare(const QString &folder, int rounds)
{
    QTemporaryDir out;
    int files = 0;
    const qint64 bytes = folderBytes(folder, &files);
    const int cores = QThread::idealThreadCount();
    const QString tag = QStringLiteral("-mmt%1").arg(cores);
    const bool haveZip = !QStandardPaths::findExecutable(QStringLiteral("zip")).isEmpty();
    const bool have7z = !QStandardPaths::findExecutable(QStringLiteral("7z")).isEmpty();
    const QString ours1 = QStringLiteral("component, 1 thread");
    const QString oursN = QStringLiteral("component, %1 threads").arg(cores);
    const QString zip6 = QStringLiteral("zip -6");
    const QString sevenZip = QStringLiteral("7z a -tzip -mx5 ") + tag;
    const QString zlib = QStringLiteral("zlib deflate + CRC, 1 thread");
    std::map<QString, std::vector<double>> times;
    std::map<QString, long> peaks;
    std::map<QString, qint64> sizes;
    for (int round = 0; round < rounds; ++round) {
        const QString a1 = out.filePath(QStringLiteral("one.zip"));
        const QString aN = out.filePath(QStringLiteral("all.zip"));
        Run run = ours(folder, a1, 1);
        times[ours1].push_back(run.seconds);
        peaks[ours1] = std::max(peaks[ours1], run.peakKiB);
        sizes[ours1] = QFileInfo(a1).size();
        run = ours(folder, aN, cores);
        times[oursN].push_back(run.seconds);
        peaks[oursN] = std::max(peaks[oursN], run.peakKiB);
        sizes[oursN] = QFileInfo(aN).size();
        if (haveZip) {
            const QString archive = out.filePath(QStringLiteral("zip.zip"));
            QFile::remove(archive);
            const Run zipRun
                = runProcess(QStringLiteral("zip"), {QStringLiteral("-qr6"), archive, QStringLiteral(".")}, folder);
            times[zip6].push_back(zipRun.seconds);
            peaks[zip6] = std::max(peaks[zip6], zipRun.peakKiB);
            sizes[zip6] = QFileInfo(archive).size();
        }
        if (have7z) {
            const QString archive = out.filePath(QStringLiteral("7z.zip"));
            QFile::remove(archive);
            const Run sevenRun = runProcess(QStringLiteral("7z"),
                                            {QStringLiteral("a"), QStringLiteral("-tzip"), QStringLiteral("-mx5"), tag,
                                             archive, QStringLiteral(".")},
                                            folder);
            times[sevenZip].push_back(sevenRun.seconds);
            peaks[sevenZip] = std::max(peaks[sevenZip], sevenRun.peakKiB);
            sizes[sevenZip] = QFileInfo(archive).size();
        }
        times[zlib].push_back(zlibAlone(folder).seconds);
    }
    std::printf("%d files, %.1f MB; %d rounds, medians; %d cores\n", files, double(bytes) / 1e6, rounds, cores);
    for (const QString &name : {ours1, oursN, zip6, sevenZip, zlib}) {
        if (!times.count(name))
            continue;
        const double seconds = median(times[name]);
        std::printf("  %-32s %7.2f s %8.1f MB/s", qPrintable(name), seconds, double(bytes) / 1e6 / seconds);
        if (sizes.count(name))
            std::printf("  archive %lld bytes", sizes[name]);
        if (peaks.count(name))
            std::printf("  peak %ld MiB", peaks[name] / 1024);
        std::printf("\n");
    }
    const auto ratio = [&](const QString &a, const QString &b) {
        if (times.count(a) && times.count(b))
            std::printf("  %s / %s: %.2f\n", qPrintable(a), qPrintable(b), median(times[a]) / median(times[b]));
    };
    ratio(ours1, zip6);
    ratio(oursN, zip6);
    ratio(ours1, zlib);
    // Eight threads against zlib's single-thread time shared by as many.
    if (times.count(oursN) && times.count(zlib))
        std::printf("  %s / (zlib / %d): %.2f\n", qPrintable(oursN), cores,
                    median(times[oursN]) / (median(times[zlib]) / cores));
    ratio(oursN, sevenZip);
    ratio(oursN, ours1);
    for (const QString &name : {ours1, oursN}) {
        if (peaks.count(name) && peaks.count(zip6) && peaks[zip6] > 0)
            std::printf("  peak of %s / peak of zip -6: %.2f\n", qPrintable(name),
                        double(peaks[name]) / double(peaks[zip6]));
    }
    std::fflush(stdout);
    return 0;
}

// A huge file stored and deflated: the memory must not grow with it.
// A daily update of an archive of many small files: nothing changed, then
// one file in the middle changed, against zip -u on its own archive.
int update(int count, int rounds)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("corpus/"));
    makeSmallFiles(folder, count);
    // As a daily run finds them: files of the two-second step the archive is
    // made in are taken again by the next update, which could not tell a
    // later change in that step by the time.
    QThread::sleep(3);
    const int cores = QThread::idealThreadCount();
    const bool haveZip = !QStandardPaths::findExecutable(QStringLiteral("zip")).isEmpty();
    const QString base = dir.filePath(QStringLiteral("base.zip"));
    const QString zipBase = dir.filePath(QStringLiteral("zipbase.zip"));
    ours(folder, base, cores);
    if (haveZip)
        runProcess(QStringLiteral("zip"), {QStringLiteral("-qr6"), zipBase, QStringLiteral(".")}, folder);
    const auto copyOf = [&](const QString &from, const QString &name) {
        const QString to = dir.filePath(name);
        QFile::remove(to);
        QFile::copy(from, to);
        return to;
    };
    std::printf("%d one-byte files; %d rounds, medians; %d cores\n", count, rounds, cores);
    for (const bool changed : {false, true}) {
        if (changed) {
            const QString middle = folder + QStringLiteral("d%1/f%2").arg(count / 2 / 1000).arg(count / 2);
            QFile file(middle);
            file.open(QIODevice::WriteOnly);
            file.write("y", 1);
            file.setFileTime(QDateTime::currentDateTime().addSecs(3600), QFileDevice::FileModificationTime);
        }
        std::vector<double> oursTimes, zipTimes;
        long oursPeak = 0, zipPeak = 0;
        for (int round = 0; round < rounds; ++round) {
            const Run run = ours(folder, copyOf(base, QStringLiteral("update.zip")), cores, -1);
            oursTimes.push_back(run.seconds);
            oursPeak = std::max(oursPeak, run.peakKiB);
            if (haveZip) {
                // zip answers 12 when it finds nothing to do.
                const Run zipRun = runProcess(
                    QStringLiteral("zip"),
                    {QStringLiteral("-qur6"), copyOf(zipBase, QStringLiteral("zipupdate.zip")), QStringLiteral(".")},
                    folder, 12);
                zipTimes.push_back(zipRun.seconds);
                zipPeak = std::max(zipPeak, zipRun.peakKiB);
            }
        }
        const char *what = changed ? "one file changed in the middle" : "nothing changed";
        std::printf("  update, %s: component %.2f s (peak %ld MiB)", what, median(oursTimes), oursPeak / 1024);
        if (haveZip)
            std::printf(", zip -u %.2f s (peak %ld MiB), ratio %.2f", median(zipTimes), zipPeak / 1024,
                        median(oursTimes) / median(zipTimes));
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
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
    const int cores = QThread::idealThreadCount();
    const QString archive = dir.filePath(QStringLiteral("sparse.zip"));
    for (int level : {0, Level}) {
        for (int threads : {1, cores}) {
            const Run run = ours(source, archive, threads, level);
            std::printf(
                "sparse file %.1f GiB, level %d, %d threads: %.1f s, peak resident %ld MiB, archive %lld bytes\n", gib,
                level, threads, run.seconds, run.peakKiB / 1024, QFileInfo(archive).size());
        }
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("zip")).isEmpty()) {
        const QString zipArchive = dir.filePath(QStringLiteral("zip.zip"));
        const Run run
            = runProcess(QStringLiteral("zip"), {QStringLiteral("-qr6"), zipArchive, QStringLiteral(".")}, source);
        std::printf("sparse file %.1f GiB, zip -6: %.1f s, peak resident %ld MiB\n", gib, run.seconds,
                    run.peakKiB / 1024);
    }
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString what = args.value(0, QStringLiteral("corpus"));
    if (what == QStringLiteral("archive") && args.size() == 5)
        return archiveFolder(args.at(1), args.at(2), args.at(3).toInt(), args.at(4).toInt());
    if (what == QStringLiteral("update"))
        return update(args.value(1, QStringLiteral("300000")).toInt(), args.value(2, QStringLiteral("3")).toInt());
    if (what == QStringLiteral("memory"))
        return memory(args.value(1, QStringLiteral("5")).toDouble());
    if (what == QStringLiteral("corpus") || what == QStringLiteral("small")) {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("corpus/"));
        if (what == QStringLiteral("corpus"))
            makeCorpus(folder, args.value(1, QStringLiteral("240")).toLongLong() << 20);
        else
            makeSmallFiles(folder, args.value(1, QStringLiteral("70000")).toInt());
        return compare(folder, args.value(2, QStringLiteral("3")).toInt());
    }
    std::fprintf(
        stderr,
        "usage: zip_bench corpus [MiB] [rounds] | small [files] [rounds] | update [files] [rounds] | memory [GiB]\n");
    return 2;
}
