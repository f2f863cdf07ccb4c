#include "CodePage.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace codepage {

namespace {

// The characters of the bytes 0x80-0xFF.
using UpperHalf = std::array<char16_t, 128>;

// 0x98 has no character in code page 1251. It has always read as U+0098
// (and U+0098 written as 0x98), so a text holding it reads as before and
// is saved back as the byte it came from.
constexpr UpperHalf Windows1251 = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021', // 0x80
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F', //
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014', // 0x90
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F', //
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7', // 0xA0
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407', //
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7', // 0xB0
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457', //
    u'\u0410', u'\u0411', u'\u0412', u'\u0413', u'\u0414', u'\u0415', u'\u0416', u'\u0417', // 0xC0
    u'\u0418', u'\u0419', u'\u041A', u'\u041B', u'\u041C', u'\u041D', u'\u041E', u'\u041F', //
    u'\u0420', u'\u0421', u'\u0422', u'\u0423', u'\u0424', u'\u0425', u'\u0426', u'\u0427', // 0xD0
    u'\u0428', u'\u0429', u'\u042A', u'\u042B', u'\u042C', u'\u042D', u'\u042E', u'\u042F', //
    u'\u0430', u'\u0431', u'\u0432', u'\u0433', u'\u0434', u'\u0435', u'\u0436', u'\u0437', // 0xE0
    u'\u0438', u'\u0439', u'\u043A', u'\u043B', u'\u043C', u'\u043D', u'\u043E', u'\u043F', //
    u'\u0440', u'\u0441', u'\u0442', u'\u0443', u'\u0444', u'\u0445', u'\u0446', u'\u0447', // 0xF0
    u'\u0448', u'\u0449', u'\u044A', u'\u044B', u'\u044C', u'\u044D', u'\u044E', u'\u044F', //
};

// The lower half is ASCII in both pages. Qt's ICU table for 866 swaps 0x1A,
// 0x1C and 0x7F as the IBM PC showed them; the page as published, and every
// ASCII name the archiver writes as it is, keeps them as they are.
constexpr UpperHalf Dos866 = {
    u'\u0410', u'\u0411', u'\u0412', u'\u0413', u'\u0414', u'\u0415', u'\u0416', u'\u0417', // 0x80
    u'\u0418', u'\u0419', u'\u041A', u'\u041B', u'\u041C', u'\u041D', u'\u041E', u'\u041F', //
    u'\u0420', u'\u0421', u'\u0422', u'\u0423', u'\u0424', u'\u0425', u'\u0426', u'\u0427', // 0x90
    u'\u0428', u'\u0429', u'\u042A', u'\u042B', u'\u042C', u'\u042D', u'\u042E', u'\u042F', //
    u'\u0430', u'\u0431', u'\u0432', u'\u0433', u'\u0434', u'\u0435', u'\u0436', u'\u0437', // 0xA0
    u'\u0438', u'\u0439', u'\u043A', u'\u043B', u'\u043C', u'\u043D', u'\u043E', u'\u043F', //
    u'\u2591', u'\u2592', u'\u2593', u'\u2502', u'\u2524', u'\u2561', u'\u2562', u'\u2556', // 0xB0
    u'\u2555', u'\u2563', u'\u2551', u'\u2557', u'\u255D', u'\u255C', u'\u255B', u'\u2510', //
    u'\u2514', u'\u2534', u'\u252C', u'\u251C', u'\u2500', u'\u253C', u'\u255E', u'\u255F', // 0xC0
    u'\u255A', u'\u2554', u'\u2569', u'\u2566', u'\u2560', u'\u2550', u'\u256C', u'\u2567', //
    u'\u2568', u'\u2564', u'\u2565', u'\u2559', u'\u2558', u'\u2552', u'\u2553', u'\u256B', // 0xD0
    u'\u256A', u'\u2518', u'\u250C', u'\u2588', u'\u2584', u'\u258C', u'\u2590', u'\u2580', //
    u'\u0440', u'\u0441', u'\u0442', u'\u0443', u'\u0444', u'\u0445', u'\u0446', u'\u0447', // 0xE0
    u'\u0448', u'\u0449', u'\u044A', u'\u044B', u'\u044C', u'\u044D', u'\u044E', u'\u044F', //
    u'\u0401', u'\u0451', u'\u0404', u'\u0454', u'\u0407', u'\u0457', u'\u040E', u'\u045E', // 0xF0
    u'\u00B0', u'\u2219', u'\u00B7', u'\u221A', u'\u2116', u'\u00A4', u'\u25A0', u'\u00A0', //
};

struct ByteOf {
    char16_t character;
    char byte;
};

// The upper half sorted by character, for encoding.
using Reverse = std::array<ByteOf, 128>;

constexpr bool byCharacter(ByteOf a, ByteOf b)
{
    return a.character < b.character;
}

constexpr Reverse reverseOf(const UpperHalf &upper)
{
    Reverse reverse{};
    for (std::size_t i = 0; i < upper.size(); ++i)
        reverse[i] = {upper[i], static_cast<char>(0x80 + i)};
    std::sort(reverse.begin(), reverse.end(), byCharacter);
    return reverse;
}

// A character twice in a table, or an ASCII one, would give a byte that
// reads back as another character.
constexpr bool readsBackAlike(const Reverse &reverse)
{
    return reverse.front().character >= 0x80
        && std::adjacent_find(reverse.begin(), reverse.end(),
                              [](ByteOf a, ByteOf b) { return a.character == b.character; })
        == reverse.end();
}

constexpr Reverse Windows1251Reverse = reverseOf(Windows1251);
constexpr Reverse Dos866Reverse = reverseOf(Dos866);
static_assert(readsBackAlike(Windows1251Reverse) && readsBackAlike(Dos866Reverse));

const UpperHalf &upperHalf(CodePage page)
{
    return page == CodePage::Dos866 ? Dos866 : Windows1251;
}

const Reverse &reverse(CodePage page)
{
    return page == CodePage::Dos866 ? Dos866Reverse : Windows1251Reverse;
}

struct CharsetName {
    QByteArrayView name;
    CodePage page;
};

// The names Qt's converters have known these pages by, so that a charset
// reads as it did.
constexpr CharsetName CharsetNames[] = {
    {"windows-1251", CodePage::Windows1251},
    {"cp1251", CodePage::Windows1251},
    {"x-cp1251", CodePage::Windows1251},
    {"ibm866", CodePage::Dos866},
    {"ibm-866", CodePage::Dos866},
    {"cp866", CodePage::Dos866},
    {"866", CodePage::Dos866},
    {"csibm866", CodePage::Dos866},
};

} // namespace

QString decode(QByteArrayView bytes, CodePage page)
{
    const UpperHalf &upper = upperHalf(page);
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = QChar(value < 0x80 ? char16_t(value) : upper[value - 0x80]);
    }
    return text;
}

std::optional<QByteArray> encode(QStringView text, CodePage page)
{
    const Reverse &table = reverse(page);
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar c : text) {
        const char16_t character = c.unicode();
        if (character < 0x80) {
            *out++ = static_cast<char>(character);
            continue;
        }
        const auto found = std::lower_bound(table.begin(), table.end(), ByteOf{character, 0}, byCharacter);
        if (found == table.end() || found->character != character)
            return std::nullopt;
        *out++ = found->byte;
    }
    return bytes;
}

std::optional<CodePage> forCharset(QByteArrayView charset)
{
    for (const CharsetName &known : CharsetNames) {
        if (charset.compare(known.name, Qt::CaseInsensitive) == 0)
            return known.page;
    }
    return std::nullopt;
}

} // namespace codepage
