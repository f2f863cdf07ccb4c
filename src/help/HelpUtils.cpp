#include "HelpUtils.h"

#include "platform/CodePage.h"

#include <array>

namespace help {

namespace {

constexpr qint32 weightOf(int c)
{
    if (c == 0)
        return 0;
    if (c == 32)
        return -16;
    if (c == 33 || c == 91)
        return 11;
    if (c == 34)
        return -14;
    if (c == 46 || c == 92)
        return 12;
    if (c == 47)
        return -1;
    if (c == 48)
        return 10;
    if (c == 93 || c == 95)
        return 13;
    if (c == 94)
        return 14;
    if (c < 32 || (c >= 35 && c <= 37) || c == 42 || c == 43)
        return c + 208;
    if (c < 96 || (c >= 145 && c <= 151))
        return c - 48;
    if (c < 128)
        return c - 80;
    return c - 304;
}

constexpr std::array<qint32, 256> makeWeights()
{
    std::array<qint32, 256> weights{};
    for (int c = 0; c < 256; ++c)
        weights[c] = weightOf(c);
    return weights;
}

constexpr std::array<qint32, 256> Weights = makeWeights();

} // namespace

qint32 HashName(const QByteArray &name)
{
    // Unsigned arithmetic wraps by definition; the result is read back as signed.
    quint32 h = 0;
    for (const char c : name)
        h = quint32(Weights[quint8(c)]) + h * 43u;
    return qint32(h);
}

qint32 HashName(const QString &name)
{
    return HashName(codepage::encode(name, codepage::CodePage::Windows1251).value_or(name.toUtf8()));
}

} // namespace help
