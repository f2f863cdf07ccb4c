// The self-extractor stub: a ZIP archive follows this program in its own
// file. Run, it extracts the archive's files into the folder given as its
// first argument (the current folder when none is given).
//
// It reads the names itself rather than leaving them to an unzip program:
// the suite stores a name in the OEM code page (866) when the entry says
// MS-DOS origin, in the ANSI code page (1251) otherwise, and as UTF-8 when
// flag bit 11 is set; each is restored to the UTF-8 name it came from.
// Needs nothing but the C library and zlib, so it runs where the programs
// are not installed.
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include <iconv.h>
#include <sys/stat.h>
#include <sys/time.h>

namespace {

constexpr uint32_t LocalSignature = 0x04034B50;
constexpr uint32_t CentralSignature = 0x02014B50;
constexpr uint32_t EndSignature = 0x06054B50;
constexpr uint32_t Zip64LocatorSignature = 0x07064B50;
constexpr uint32_t Zip64EndSignature = 0x06064B50;
constexpr uint32_t Overflow32 = 0xFFFFFFFF;
constexpr size_t Block = 1 << 20;

struct FileCloser
{
    void operator()(FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

uint64_t get(const unsigned char *p, int bytes)
{
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

bool readAt(FILE *file, uint64_t pos, void *buffer, size_t size)
{
    return fseeko(file, off_t(pos), SEEK_SET) == 0 && std::fread(buffer, 1, size, file) == size;
}

struct Entry
{
    std::string name;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t time = 0;
    uint16_t date = 0;
    uint32_t crc = 0;
    uint64_t compressed = 0;
    uint64_t size = 0;
    uint64_t offset = 0;
};

std::string toUtf8(const std::string &bytes, const char *codePage)
{
    iconv_t converter = iconv_open("UTF-8", codePage);
    if (converter == iconv_t(-1))
        return bytes;
    std::string out(bytes.size() * 4, '\0');
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = bytes.size();
    char *outPtr = out.data();
    size_t outLeft = out.size();
    const bool ok = iconv(converter, &in, &inLeft, &outPtr, &outLeft) != size_t(-1);
    iconv_close(converter);
    if (!ok)
        return bytes;
    out.resize(out.size() - outLeft);
    return out;
}

bool isAscii(const std::string &text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) > 0x7F)
            return false;
    }
    return true;
}

std::string entryName(const std::string &stored, uint16_t flags, uint16_t versionMadeBy)
{
    if ((flags & 0x0800) || isAscii(stored))
        return stored;
    return toUtf8(stored, (versionMadeBy >> 8) == 0 ? "CP866" : "CP1251");
}

// A name that would land outside the target folder is refused.
bool isSafe(const std::string &name)
{
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = name.find('/', start);
        const std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part == "..")
            return false;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return true;
}

bool makeFolders(const std::string &path)
{
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            const std::string part = path.substr(0, i);
            if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
                return false;
        }
    }
    return true;
}

void setTime(const std::string &path, uint16_t date, uint16_t time)
{
    std::tm when{};
    when.tm_year = ((date >> 9) & 0x7F) + 80;
    when.tm_mon = ((date >> 5) & 0x0F) - 1;
    when.tm_mday = date & 0x1F;
    when.tm_hour = (time >> 11) & 0x1F;
    when.tm_min = (time >> 5) & 0x3F;
    when.tm_sec = (time & 0x1F) * 2;
    when.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&when);
    if (seconds == std::time_t(-1))
        return;
    const timeval times[2] = {{seconds, 0}, {seconds, 0}};
    ::utimes(path.c_str(), times);
}

// The central directory: its entries and where the archive proper begins.
bool readDirectory(FILE *archive, std::vector<Entry> &entries)
{
    if (fseeko(archive, 0, SEEK_END) != 0)
        return false;
    const uint64_t size = uint64_t(ftello(archive));
    const uint64_t tailSize = std::min<uint64_t>(size, 65536 + 22);
    std::vector<unsigned char> tail(tailSize);
    if (!readAt(archive, size - tailSize, tail.data(), tailSize))
        return false;
    int64_t end = -1;
    for (int64_t i = int64_t(tailSize) - 22; i >= 0; --i) {
        if (get(&tail[size_t(i)], 4) == EndSignature && get(&tail[size_t(i) + 20], 2) == tailSize - size_t(i) - 22) {
            end = i;
            break;
        }
    }
    if (end < 0)
        return false;
    const unsigned char *record = &tail[size_t(end)];
    const uint64_t endPos = size - tailSize + uint64_t(end);
    uint64_t count = get(record + 10, 2);
    uint64_t directorySize = get(record + 12, 4);
    uint64_t directoryEnd = endPos;
    unsigned char locator[20];
    if (endPos >= 20 && readAt(archive, endPos - 20, locator, 20) && get(locator, 4) == Zip64LocatorSignature) {
        unsigned char zip64[56];
        if (endPos < 76 || !readAt(archive, endPos - 76, zip64, 56) || get(zip64, 4) != Zip64EndSignature)
            return false;
        count = get(zip64 + 32, 8);
        directorySize = get(zip64 + 40, 8);
        directoryEnd = endPos - 76;
    }
    if (directorySize > directoryEnd)
        return false;
    // Offsets count from the start of this file (the stub in front shifts
    // the directory, not what the directory says).
    std::vector<unsigned char> directory(directorySize);
    if (!readAt(archive, directoryEnd - directorySize, directory.data(), directorySize))
        return false;
    size_t at = 0;
    for (uint64_t i = 0; i < count; ++i) {
        if (at + 46 > directory.size() || get(&directory[at], 4) != CentralSignature)
            return false;
        const unsigned char *h = &directory[at];
        Entry entry;
        const uint16_t madeBy = uint16_t(get(h + 4, 2));
        entry.flags = uint16_t(get(h + 8, 2));
        entry.method = uint16_t(get(h + 10, 2));
        entry.time = uint16_t(get(h + 12, 2));
        entry.date = uint16_t(get(h + 14, 2));
        entry.crc = uint32_t(get(h + 16, 4));
        entry.compressed = get(h + 20, 4);
        entry.size = get(h + 24, 4);
        const size_t nameLength = size_t(get(h + 28, 2));
        const size_t extraLength = size_t(get(h + 30, 2));
        const size_t commentLength = size_t(get(h + 32, 2));
        entry.offset = get(h + 42, 4);
        if (at + 46 + nameLength + extraLength + commentLength > directory.size())
            return false;
        const std::string stored(reinterpret_cast<const char *>(h + 46), nameLength);
        entry.name = entryName(stored, entry.flags, madeBy);
        const unsigned char *extra = h + 46 + nameLength;
        for (size_t e = 0; e + 4 <= extraLength;) {
            const uint16_t id = uint16_t(get(extra + e, 2));
            const size_t length = size_t(get(extra + e + 2, 2));
            if (id == 1) {
                size_t v = e + 4;
                const auto take = [&](uint64_t &field) {
                    if (field == Overflow32 && v + 8 <= e + 4 + length) {
                        field = get(extra + v, 8);
                        v += 8;
                    }
                };
                take(entry.size);
                take(entry.compressed);
                take(entry.offset);
            }
            e += 4 + length;
        }
        entries.push_back(entry);
        at += 46 + nameLength + extraLength + commentLength;
    }
    return true;
}

bool extract(FILE *archive, const Entry &entry, const std::string &path)
{
    unsigned char local[30];
    if (!readAt(archive, entry.offset, local, 30) || get(local, 4) != LocalSignature)
        return false;
    const uint64_t dataStart = entry.offset + 30 + get(local + 26, 2) + get(local + 28, 2);
    if (fseeko(archive, off_t(dataStart), SEEK_SET) != 0)
        return false;
    File out(std::fopen(path.c_str(), "wb"));
    if (!out)
        return false;
    std::vector<unsigned char> input(Block);
    std::vector<unsigned char> output(Block);
    uLong crc = crc32(0, nullptr, 0);
    uint64_t left = entry.compressed;
    uint64_t written = 0;
    z_stream z{};
    const bool deflated = entry.method == 8;
    if (deflated && inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return false;
    bool ok = true;
    int result = Z_OK;
    while (ok && left > 0 && result != Z_STREAM_END) {
        const size_t n = size_t(std::min<uint64_t>(left, Block));
        if (std::fread(input.data(), 1, n, archive) != n) {
            ok = false;
            break;
        }
        left -= n;
        if (!deflated) {
            crc = crc32(crc, input.data(), uInt(n));
            written += n;
            ok = std::fwrite(input.data(), 1, n, out.get()) == n;
            continue;
        }
        z.next_in = input.data();
        z.avail_in = uInt(n);
        do {
            z.next_out = output.data();
            z.avail_out = uInt(output.size());
            result = inflate(&z, Z_NO_FLUSH);
            if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
                ok = false;
                break;
            }
            const size_t made = output.size() - z.avail_out;
            crc = crc32(crc, output.data(), uInt(made));
            written += made;
            if (std::fwrite(output.data(), 1, made, out.get()) != made)
                ok = false;
            if (result == Z_BUF_ERROR)
                break;
        } while (ok && result != Z_STREAM_END && (z.avail_in > 0 || z.avail_out == 0));
    }
    if (deflated)
        inflateEnd(&z);
    ok = ok && (!deflated || result == Z_STREAM_END || entry.size == 0) && written == entry.size
         && uint32_t(crc) == entry.crc && std::fflush(out.get()) == 0;
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string target = argc > 1 ? argv[1] : ".";
    File archive(std::fopen("/proc/self/exe", "rb"));
    if (!archive && argc > 0)
        archive.reset(std::fopen(argv[0], "rb"));
    std::vector<Entry> entries;
    if (!archive || !readDirectory(archive.get(), entries)) {
        std::fprintf(stderr, "%s: no archive found behind the extractor (a split set is joined first)\n",
                     argc > 0 ? argv[0] : "sfx");
        return 2;
    }
    if (!makeFolders(target)) {
        std::fprintf(stderr, "cannot create %s\n", target.c_str());
        return 2;
    }
    int failures = 0;
    for (const Entry &entry : entries) {
        const std::string path = target + '/' + entry.name;
        bool ok = isSafe(entry.name) && !(entry.flags & 1) && (entry.method == 0 || entry.method == 8);
        if (ok && entry.name.back() == '/') {
            ok = makeFolders(path.substr(0, path.size() - 1));
        } else if (ok) {
            const size_t slash = path.rfind('/');
            ok = makeFolders(path.substr(0, slash)) && extract(archive.get(), entry, path);
            if (ok)
                setTime(path, entry.date, entry.time);
        }
        std::printf("%s %s\n", ok ? "  extracted:" : "     failed:", entry.name.c_str());
        failures += ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
