#include "FileNames.h"

#include "platform/Paths.h"

#include <QFile>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool isEscapedByte(QChar c)
{
    return c.unicode() >= EscapeBase + 0x80 && c.unicode() <= EscapeBase + 0xFF;
}

// The length of the valid UTF-8 sequence at data[i], 0 when it is not one.
int validSequenceAt(const QByteArray &data, qsizetype i, char32_t &code)
{
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(data.at(k)); };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > data.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

bool hasRawBytes(const QString &name)
{
    return std::any_of(name.cbegin(), name.cend(), isEscapedByte);
}

QByteArray fileNameBytes(const QString &name)
{
#ifdef Q_OS_WIN
    return name.toUtf8();
#else
    if (!hasRawBytes(name))
        return QFile::encodeName(name);
    QByteArray bytes;
    qsizetype start = 0; // of the run of ordinary characters not yet encoded
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        // The low half of a surrogate pair is a character, not an escape.
        if (!isEscapedByte(c) || (i > 0 && name.at(i - 1).isHighSurrogate()))
            continue;
        bytes += QStringView(name).mid(start, i - start).toUtf8();
        bytes += char(c.unicode() - EscapeBase);
        start = i + 1;
    }
    bytes += QStringView(name).mid(start).toUtf8();
    return bytes;
#endif
}

std::filesystem::path nativePath(const QString &name)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(name.toStdWString());
#else
    return std::filesystem::path(fileNameBytes(name).toStdString());
#endif
}

QString fileNameFromBytes(const QByteArray &bytes)
{
    if (QUtf8StringView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes.at(i));
        char32_t code = lead;
        const int length = lead < 0x80 ? 1 : validSequenceAt(bytes, i, code);
        if (length == 0) {
            name += QChar(char16_t(EscapeBase + lead));
            ++i;
            continue;
        }
        name += QString::fromUcs4(&code, 1);
        i += length;
    }
    return name;
}

QString readableFileName(const QString &name)
{
    if (!hasRawBytes(name))
        return name;
    QString shown;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (isEscapedByte(c) && !(i > 0 && name.at(i - 1).isHighSurrogate()))
            shown += QStringLiteral("\\x") + QString::number(c.unicode() - EscapeBase, 16).toUpper();
        else
            shown += c;
    }
    return shown;
}

Qt::CaseSensitivity fileNameCase()
{
#ifdef Q_OS_WIN
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

QString fileNameKey(const QString &name)
{
    return fileNameCase() == Qt::CaseInsensitive ? name.toLower() : name;
}

bool startsWithFolder(const QString &path, const QString &folder)
{
    return path.startsWith(folder, fileNameCase());
}

QString commonFolder(const QStringList &paths)
{
    if (paths.isEmpty())
        return {};
    QString common = folderPart(paths.first());
    for (const QString &path : paths) {
        while (!common.isEmpty() && !startsWithFolder(folderPart(path), common))
            common = folderPart(common.chopped(1));
    }
    return common;
}

QString whereLinksLead(const QString &name)
{
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(nativePath(name), error);
    if (error)
        return name;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, error); ++hops) {
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error)
            break;
        // A relative target counts from the link's folder; an absolute one replaces the path.
        path = path.parent_path() / target;
    }
    // Not cleaned: ".." after a folder that is a link is the kernel's to resolve.
    return fileNameFromBytes(QByteArray::fromStdString(path.string()));
}

bool fileExists(const QString &path)
{
    std::error_code ignored;
    return !path.isEmpty() && std::filesystem::exists(nativePath(path), ignored);
}

bool openFile(QFile &file, const QString &path, QIODevice::OpenMode mode)
{
#ifdef Q_OS_UNIX
    if (hasRawBytes(path)) {
        int flags = O_CLOEXEC;
        if (mode & QIODevice::WriteOnly) {
            flags |= (mode & QIODevice::ReadOnly) ? O_RDWR : O_WRONLY;
            flags |= (mode & QIODevice::ExistingOnly) ? 0 : O_CREAT;
            if (mode & QIODevice::NewOnly)
                flags |= O_EXCL;
            // As QFile does: an explicit truncation holds with appending too.
            if (mode & QIODevice::Append)
                flags |= O_APPEND;
            if ((mode & QIODevice::Truncate) || !(mode & (QIODevice::ReadOnly | QIODevice::Append)))
                flags |= O_TRUNC;
        } else {
            flags |= O_RDONLY;
        }
        const int fd = ::open(fileNameBytes(path).constData(), flags, 0666);
        if (fd < 0)
            return false;
        if (file.open(fd, mode, QFileDevice::AutoCloseHandle))
            return true;
        ::close(fd);
        return false;
    }
#endif
    file.setFileName(path);
    return file.open(mode);
}

} // namespace platform
