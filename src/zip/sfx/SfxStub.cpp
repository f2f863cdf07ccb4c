// The self-extractor stub: a ZIP archive follows this program in its own
// file, or, for a split set, this file is the first volume and the others
// lie beside it (name.Z02, ... and the last one name.ZIP). Run, it extracts
// the archive's files into the folder given as its first argument (the
// current folder when none is given).
//
// It reads the names itself rather than leaving them to an unzip program:
// the suite stores a name in the OEM code page (866) when the entry says
// MS-DOS origin, in the ANSI code page (1251) otherwise, and as UTF-8 when
// flag bit 11 is set; each is restored to the UTF-8 name it came from.
// Each file is written under a temporary name beside its own and takes its
// name only once its CRC-32 is checked, so a damaged entry never replaces a
// file that is there; no symbolic link is followed below the target folder.
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

#include <fcntl.h>
#include <iconv.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint32_t LocalSignature = 0x04034B50;
constexpr uint32_t CentralSignature = 0x02014B50;
constexpr uint32_t EndSignature = 0x06054B50;
constexpr uint32_t Zip64LocatorSignature = 0x07064B50;
constexpr uint32_t Zip64EndSignature = 0x06064B50;
constexpr uint32_t Overflow32 = 0xFFFFFFFF;
constexpr uint16_t Overflow16 = 0xFFFF;
constexpr size_t Block = 1 << 20;

struct FileCloser {
    void operator()(FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// A descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(Descriptor &&other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

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

// Where the directory lies: its volume, its offset there, its size and the
// number of its entries.
struct DirectoryPlace {
    uint64_t disk = 0;
    uint64_t offset = 0;
    uint64_t size = 0;
    uint64_t count = 0;
    uint64_t lastDisk = 0;
    // Where the end records begin in the last volume: the directory ends
    // there at the latest.
    uint64_t end = 0;
};

// The files of the archive: this program alone, or the volumes of a split
// set, the first of which is this program. Reading runs on from the end of
// one volume into the next.
class Volumes {
public:
    explicit Volumes(std::vector<std::string> names) : m_names(std::move(names)), m_files(m_names.size()) {}

    size_t count() const { return m_names.size(); }
    FILE *volume(size_t disk)
    {
        if (disk >= m_files.size())
            return nullptr;
        if (!m_files[disk])
            m_files[disk].reset(std::fopen(m_names[disk].c_str(), "rb"));
        return m_files[disk].get();
    }

    // Positions the reading at offset of volume disk.
    bool seek(uint64_t disk, uint64_t offset)
    {
        m_disk = size_t(disk);
        FILE *file = volume(m_disk);
        return file && fseeko(file, off_t(offset), SEEK_SET) == 0;
    }

    // Whether the directory fits between its start and the end records in
    // the volumes as they really are: a damaged end record must not make
    // the extractor ask for more memory than the files hold.
    bool holds(const DirectoryPlace &place) const
    {
        const size_t last = m_names.size() - 1;
        if (place.disk > last)
            return false;
        uint64_t room = 0;
        for (size_t disk = size_t(place.disk); disk <= last; ++disk) {
            uint64_t size = place.end;
            if (disk != last) {
                struct stat status;
                size = ::stat(m_names[disk].c_str(), &status) == 0 ? uint64_t(status.st_size) : 0;
            }
            if (disk == place.disk) {
                if (place.offset > size)
                    return false;
                size -= place.offset;
            }
            room += size;
        }
        return place.size <= room;
    }

    bool read(void *buffer, size_t size)
    {
        auto *out = static_cast<unsigned char *>(buffer);
        while (size > 0) {
            FILE *file = volume(m_disk);
            if (!file)
                return false;
            const size_t n = std::fread(out, 1, size, file);
            out += n;
            size -= n;
            if (size > 0 && !seek(m_disk + 1, 0))
                return false;
        }
        return true;
    }

private:
    std::vector<std::string> m_names;
    std::vector<File> m_files;
    size_t m_disk = 0;
};

struct Entry {
    std::string name;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t time = 0;
    uint16_t date = 0;
    uint32_t crc = 0;
    uint64_t compressed = 0;
    uint64_t size = 0;
    uint64_t disk = 0;
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

// The parts of an entry's name between its slashes; empty when the name
// could land outside the target folder.
std::vector<std::string> nameParts(const std::string &name)
{
    std::vector<std::string> parts;
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string::npos)
        return parts;
    size_t start = 0;
    while (start < name.size()) {
        const size_t end = std::min(name.find('/', start), name.size());
        const std::string part = name.substr(start, end - start);
        if (part == "..")
            return {};
        if (!part.empty() && part != ".")
            parts.push_back(part);
        start = end + 1;
    }
    return parts;
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

// Opens (making it when missing) each folder of parts below the folder
// root in turn; a part that is a symbolic link, or no folder, fails.
Descriptor openFolders(int root, const std::vector<std::string> &parts, size_t count)
{
    Descriptor folder(::dup(root));
    for (size_t i = 0; i < count && folder.valid(); ++i) {
        if (::mkdirat(folder.get(), parts[i].c_str(), 0777) != 0 && errno != EEXIST)
            return Descriptor();
        folder = Descriptor(::openat(folder.get(), parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    return folder;
}

time_t dosTime(uint16_t date, uint16_t time)
{
    std::tm when{};
    when.tm_year = ((date >> 9) & 0x7F) + 80;
    when.tm_mon = ((date >> 5) & 0x0F) - 1;
    when.tm_mday = date & 0x1F;
    when.tm_hour = (time >> 11) & 0x1F;
    when.tm_min = (time >> 5) & 0x3F;
    when.tm_sec = (time & 0x1F) * 2;
    when.tm_isdst = -1;
    return std::mktime(&when);
}

// Reads the end record (and the Zip64 records) at the end of file.
bool findDirectory(FILE *file, DirectoryPlace &place)
{
    if (fseeko(file, 0, SEEK_END) != 0)
        return false;
    const uint64_t size = uint64_t(ftello(file));
    const uint64_t tailSize = std::min<uint64_t>(size, 65536 + 22);
    std::vector<unsigned char> tail(tailSize);
    if (tailSize < 22 || !readAt(file, size - tailSize, tail.data(), tailSize))
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
    place.lastDisk = get(record + 4, 2);
    place.disk = get(record + 6, 2);
    place.count = get(record + 10, 2);
    place.size = get(record + 12, 4);
    place.offset = get(record + 16, 4);
    uint64_t directoryEnd = endPos;
    unsigned char locator[20];
    if (endPos >= 20 && readAt(file, endPos - 20, locator, 20) && get(locator, 4) == Zip64LocatorSignature) {
        unsigned char zip64[56];
        if (endPos < 76 || !readAt(file, endPos - 76, zip64, 56) || get(zip64, 4) != Zip64EndSignature)
            return false;
        place.lastDisk = get(zip64 + 16, 4);
        place.disk = get(zip64 + 20, 4);
        place.count = get(zip64 + 32, 8);
        place.size = get(zip64 + 40, 8);
        place.offset = get(zip64 + 48, 8);
        directoryEnd = endPos - 76;
    }
    place.end = directoryEnd;
    if (place.lastDisk == 0) {
        // A single file: the directory ends where its end records begin,
        // whatever a stub in front did to the stored offset.
        if (place.size > directoryEnd)
            return false;
        place.offset = directoryEnd - place.size;
    }
    return true;
}

// The archive: behind this program in its own file, or the split set whose
// first volume this program is (its last volume is name.ZIP or name.zip).
std::unique_ptr<Volumes> openArchive(const std::string &self, DirectoryPlace &place)
{
    auto single = std::make_unique<Volumes>(std::vector<std::string>{self});
    if (FILE *file = single->volume(0); file && findDirectory(file, place) && place.lastDisk == 0)
        return single;
    const size_t slash = self.rfind('/');
    const size_t dot = self.rfind('.');
    const std::string base
        = dot != std::string::npos && (slash == std::string::npos || dot > slash) ? self.substr(0, dot) : self;
    for (const char *last : {".ZIP", ".zip"}) {
        File file(std::fopen((base + last).c_str(), "rb"));
        if (!file || !findDirectory(file.get(), place) || place.lastDisk == 0 || place.lastDisk > 999)
            continue;
        const bool upper = last[1] == 'Z';
        std::vector<std::string> names{self};
        for (uint64_t disk = 1; disk < place.lastDisk; ++disk) {
            char number[8];
            std::snprintf(number, sizeof number, "%s%02u", upper ? ".Z" : ".z", unsigned(disk + 1));
            names.push_back(base + number);
        }
        names.push_back(base + last);
        return std::make_unique<Volumes>(std::move(names));
    }
    return nullptr;
}

bool readDirectory(Volumes &volumes, const DirectoryPlace &place, std::vector<Entry> &entries)
{
    if (!volumes.holds(place))
        return false;
    std::vector<unsigned char> directory(place.size);
    if (!volumes.seek(place.disk, place.offset) || !volumes.read(directory.data(), directory.size()))
        return false;
    size_t at = 0;
    for (uint64_t i = 0; i < place.count; ++i) {
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
        entry.disk = get(h + 34, 2);
        entry.offset = get(h + 42, 4);
        if (at + 46 + nameLength + extraLength + commentLength > directory.size())
            return false;
        const std::string stored(reinterpret_cast<const char *>(h + 46), nameLength);
        entry.name = entryName(stored, entry.flags, madeBy);
        const unsigned char *extra = h + 46 + nameLength;
        for (size_t e = 0; e + 4 <= extraLength;) {
            const uint16_t id = uint16_t(get(extra + e, 2));
            const size_t length = std::min(size_t(get(extra + e + 2, 2)), extraLength - e - 4);
            if (id == 1) {
                size_t v = e + 4;
                const auto take = [&](uint64_t &field, uint64_t mark, size_t width) {
                    if (field == mark && v + width <= e + 4 + length) {
                        field = get(extra + v, int(width));
                        v += width;
                    }
                };
                take(entry.size, Overflow32, 8);
                take(entry.compressed, Overflow32, 8);
                take(entry.offset, Overflow32, 8);
                take(entry.disk, Overflow16, 4);
            }
            e += 4 + length;
        }
        entries.push_back(entry);
        at += 46 + nameLength + extraLength + commentLength;
    }
    return true;
}

// Writes the entry's data into out, checking its size and CRC-32.
bool extract(Volumes &volumes, const Entry &entry, FILE *out)
{
    unsigned char local[30];
    if (!volumes.seek(entry.disk, entry.offset) || !volumes.read(local, 30) || get(local, 4) != LocalSignature)
        return false;
    std::vector<unsigned char> skipped(size_t(get(local + 26, 2) + get(local + 28, 2)));
    if (!volumes.read(skipped.data(), skipped.size()))
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
        if (!volumes.read(input.data(), n)) {
            ok = false;
            break;
        }
        left -= n;
        if (!deflated) {
            crc = crc32(crc, input.data(), uInt(n));
            written += n;
            ok = std::fwrite(input.data(), 1, n, out) == n;
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
            if (std::fwrite(output.data(), 1, made, out) != made)
                ok = false;
            if (result == Z_BUF_ERROR)
                break;
        } while (ok && result != Z_STREAM_END && (z.avail_in > 0 || z.avail_out == 0));
    }
    if (deflated)
        inflateEnd(&z);
    return ok && (!deflated || result == Z_STREAM_END || entry.size == 0) && written == entry.size
        && uint32_t(crc) == entry.crc && std::fflush(out) == 0;
}

// Extracts one file into folder under a temporary name, which takes the
// file's own name only once the data is checked; an existing file of that
// name is replaced only then, and is synced first so that a crash leaves
// the old or the new file, never an empty one.
bool extractFile(Volumes &volumes, const Entry &entry, int folder, const std::string &name)
{
    std::string temporary;
    Descriptor fd;
    for (unsigned attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
        temporary = '.' + name.substr(0, 200) + ".sfx" + std::to_string(::getpid()) + '.' + std::to_string(attempt);
        fd = Descriptor(
            ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!fd.valid() && errno != EEXIST)
            return false;
    }
    if (!fd.valid())
        return false;
    const int copy = ::dup(fd.get());
    File out(copy >= 0 ? ::fdopen(copy, "wb") : nullptr);
    if (!out && copy >= 0)
        ::close(copy);
    bool ok = out && extract(volumes, entry, out.get());
    out.reset();
    const time_t seconds = dosTime(entry.date, entry.time);
    if (ok && seconds != time_t(-1)) {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ::futimens(fd.get(), times);
    }
    struct stat existing;
    if (ok && ::fstatat(folder, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0)
        ok = ::fsync(fd.get()) == 0;
    ok = ok && ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0;
    if (!ok)
        ::unlinkat(folder, temporary.c_str(), 0);
    return ok;
}

bool extractEntry(Volumes &volumes, const Entry &entry, int root)
{
    const std::vector<std::string> parts = nameParts(entry.name);
    if (parts.empty() || (entry.flags & 1) || (entry.method != 0 && entry.method != 8))
        return false;
    if (entry.name.back() == '/')
        return openFolders(root, parts, parts.size()).valid();
    const Descriptor folder = openFolders(root, parts, parts.size() - 1);
    return folder.valid() && extractFile(volumes, entry, folder.get(), parts.back());
}

std::string ownPath(const char *argv0)
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length > 0)
        return std::string(path, size_t(length));
    return argv0 ? argv0 : "";
}

} // namespace

int main(int argc, char **argv)
{
    const std::string target = argc > 1 ? argv[1] : ".";
    DirectoryPlace place;
    std::unique_ptr<Volumes> volumes = openArchive(ownPath(argc > 0 ? argv[0] : nullptr), place);
    std::vector<Entry> entries;
    if (!volumes || !readDirectory(*volumes, place, entries)) {
        std::fprintf(stderr, "%s: no archive found behind the extractor, nor its other volumes beside it\n",
                     argc > 0 ? argv[0] : "sfx");
        return 2;
    }
    const Descriptor root(makeFolders(target) ? ::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1);
    if (!root.valid()) {
        std::fprintf(stderr, "cannot create %s\n", target.c_str());
        return 2;
    }
    int failures = 0;
    for (const Entry &entry : entries) {
        const bool ok = extractEntry(*volumes, entry, root.get());
        std::printf("%s %s\n", ok ? "  extracted:" : "     failed:", entry.name.c_str());
        failures += ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
