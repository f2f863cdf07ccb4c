#pragma once

#include "ChildProcess.h"
#include "SplitSetRestore.h"
#include "TestFiles.h"
#include "ZipToolCheck.h"
#include "zip/ZAExcept.h"
#include "zip/ZAStream.h"
#include "zip/ZAStreamIO.h"
#include "zip/ZipArchiver.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>

// Shared helpers of the ZIP tests: trees of files, archives built with the
// archiver, and the checks of independent tools.
namespace ziptest {

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    testfiles::writeBytes(path, bytes);
}

// Bytes that deflate cannot shrink.
inline QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(generator.bounded(256));
    return bytes;
}

inline QByteArray textBytes(int lines)
{
    QByteArray bytes;
    for (int i = 0; i < lines; ++i)
        bytes += "line " + QByteArray::number(i) + " of a text that repeats itself\n";
    return bytes;
}

inline void setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

inline void writeFile(const QString &path, const QByteArray &bytes, const QDateTime &modified)
{
    writeFile(path, bytes);
    setModified(path, modified);
}

// A file written a while before the run, as a run mostly finds them: one
// of the run's own two-second step is taken again by the next update, as
// a change later in that step could not be told from its time.
inline void writeSettledFile(const QString &path, const QByteArray &bytes)
{
    writeFile(path, bytes, QDateTime::currentDateTime().addSecs(-60));
}

// Opens, adds the masks under baseDir in one bracket, closes.
inline void buildArchive(TZABaseArchiver &zip, const QString &archive, const QString &baseDir,
                         const QStringList &masks = {QStringLiteral("*.*")})
{
    zip.FileName = archive;
    zip.BaseDir = baseDir;
    zip.FileMasks = masks;
    zip.OpenArchive();
    zip.BeginUpdate();
    zip.AddFiles();
    zip.EndUpdate();
    zip.CloseArchive();
}

using splitset::treeOf;

// The entries as Python's zipfile reads them (names decoded by flag bit
// 11, else from code page 866); every entry is read through, which checks
// its CRC.
struct PythonView {
    bool ran = false;
    QString testzip;
    QString comment;
    QJsonArray entries;

    QJsonObject entry(const QString &name) const
    {
        for (const auto &value : entries) {
            if (value.toObject().value(QStringLiteral("name")).toString() == name)
                return value.toObject();
        }
        return {};
    }
};

inline PythonView readWithPython(const QString &archive, const QString &password = {}, int timeoutMs = 60000)
{
    static const QString script = QStringLiteral(R"(
import json, sys, zipfile
pwd = sys.argv[2].encode() if len(sys.argv) > 2 and sys.argv[2] else None
with zipfile.ZipFile(sys.argv[1]) as z:
    if pwd: z.setpassword(pwd)
    out = {"testzip": "", "comment": z.comment.decode("cp866"), "entries": []}
    for i in z.infolist():
        name = i.filename if i.flag_bits & 0x800 else i.filename.encode("cp437").decode("cp866")
        head, length = b"", 0
        try:
            # Reading to the end checks the CRC; memory stays small.
            with z.open(i) as f:
                while chunk := f.read(1 << 20):
                    if length < 4096: head += chunk[:4096]
                    length += len(chunk)
        except Exception as e:
            out["testzip"] = out["testzip"] or name + ": " + str(e)
        out["entries"].append({"name": name, "size": i.file_size, "csize": i.compress_size,
            "crc": i.CRC, "method": i.compress_type, "flags": i.flag_bits,
            "extra": i.extra.hex(), "data": head.hex() if length < 4096 else "",
            "datalen": length, "attr": i.external_attr})
print(json.dumps(out))
)");
    PythonView view;
    const auto result = ziptools::python(script, {archive, password}, timeoutMs);
    if (!result)
        return view;
    view.ran = true;
    EXPECT_EQ(result->exitCode, 0) << result->output.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(result->output.toUtf8()).object();
    view.testzip = root.value(QStringLiteral("testzip")).toString();
    view.comment = root.value(QStringLiteral("comment")).toString();
    view.entries = root.value(QStringLiteral("entries")).toArray();
    return view;
}

// Every independent tool that is installed must accept the archive.
inline void expectAcceptedByTools(const QString &archive, const QString &password = {}, int timeoutMs = 60000)
{
    int ran = 0;
    QStringList unzipArgs{QStringLiteral("-t"), QStringLiteral("-qq")};
    if (!password.isEmpty())
        unzipArgs << QStringLiteral("-P") << password;
    const QList<std::pair<QString, QStringList>> checks = {
        {QStringLiteral("unzip"), unzipArgs + QStringList{archive}},
        {QStringLiteral("7z"), {QStringLiteral("t"), QStringLiteral("-p") + password, archive}},
        {QStringLiteral("bsdtar"), {QStringLiteral("-tf"), archive}},
    };
    for (const auto &[tool, arguments] : checks) {
        const auto result = ziptools::run(tool, arguments, timeoutMs);
        if (!result)
            continue;
        ++ran;
        // unzip reports an archive without entries with a warning exit code.
        if (result->exitCode == 1 && result->output.contains(QStringLiteral("zipfile is empty")))
            continue;
        EXPECT_EQ(result->exitCode, 0) << tool.toStdString() << ": " << result->output.toStdString();
    }
    const PythonView view = readWithPython(archive, password, timeoutMs);
    if (view.ran) {
        ++ran;
        EXPECT_TRUE(view.testzip.isEmpty()) << "python testzip: " << view.testzip.toStdString();
    }
    if (ran == 0)
        GTEST_SKIP() << "no ZIP tool installed";
}

// The archive holds every file of the folder src, whole, by every tool's
// reading.
inline void expectEverySourceWhole(const QString &archive, const QString &src)
{
    expectAcceptedByTools(archive);
    const PythonView view = readWithPython(archive);
    if (!view.ran)
        return;
    const QStringList names = QDir(src).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(view.entries.size(), names.size());
    for (const QString &name : names)
        EXPECT_EQ(view.entry(name).value(QStringLiteral("datalen")).toInteger(), QFileInfo(src + name).size())
            << name.toStdString();
}

// A test with its own folder: sources under src, the archive in out and
// the commit's temporary files in temp.
class ZipFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        src = dir.filePath(QStringLiteral("src/"));
        archive = dir.filePath(QStringLiteral("out/backup.zip"));
        temp = dir.filePath(QStringLiteral("temp/"));
        QDir().mkpath(dir.filePath(QStringLiteral("out")));
        QDir().mkpath(temp);
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString src;
    QString archive;
    QString temp;
};

// The archive's stream over a memory buffer that holds bytes.
inline std::unique_ptr<TZADeviceStream> memoryStream(const QByteArray &bytes = {})
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadWrite);
    return std::make_unique<TZADeviceStream>(std::move(buffer));
}

// The native code of the EZAException that action raises; -1 when none.
template <typename Action>
int nativeErrorOf(Action &&action)
{
    try {
        action();
    } catch (const EZAException &e) {
        return e.NativeError();
    }
    return -1;
}

inline QStringList leftoverTempFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("FC*")}, QDir::Files);
}

// Makes zip end its process at its killAt-th progress event (file, overall
// or tail-copy progress), as a kill at that moment would; for children of
// childprocess::run only.
inline void killSelfAtEvent(TZipArchiver &zip, int killAt)
{
    auto events = std::make_shared<int>(0);
    const auto tick = [events, killAt] {
        if (++*events == killAt)
            childprocess::killSelf();
    };
    zip.OnFileProgress
        = [tick](TZABaseArchiver &, const QString &, double, TZAProcessOperation, TZAProgressPhase, bool &) { tick(); };
    zip.OnOverallProgress
        = [tick](TZABaseArchiver &, double, TZAProcessOperation, TZAProgressPhase, bool &) { tick(); };
    zip.OnCopyTempFileProgress = [tick](TZABaseArchiver &, double, TZAProgressPhase, bool &) { tick(); };
}

} // namespace ziptest
