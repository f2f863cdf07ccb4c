#include "MailEncodings.h"

namespace smtpmail {

namespace {

constexpr qsizetype base64LineLength = 76;
constexpr qsizetype qpLineLength = 71;
constexpr char hexDigits[] = "0123456789ABCDEF";

// Characters that header mode encodes besides those every mode encodes.
bool isHeaderSpecial(uchar c)
{
    return (c >= 9 && c <= 32) || c == '"' || c == '\'' || c == '(' || c == ')' || c == '<' || c == '>' || c == '?'
        || c == '_';
}

void appendEscape(QByteArray &out, uchar c)
{
    out += '=';
    out += hexDigits[c >> 4];
    out += hexDigits[c & 0x0F];
}

// Tabs and blanks before a line break would be lost in transport.
void escapeTrailingWhitespace(QByteArray &out, qsizetype end)
{
    qsizetype start = end;
    while (start > 0 && (out[start - 1] == ' ' || out[start - 1] == '\t'))
        --start;
    if (start == end)
        return;
    QByteArray escaped;
    for (qsizetype i = start; i < end; ++i)
        escaped += out[i] == ' ' ? "=20" : "=09";
    out.replace(start, end - start, escaped);
}

// Cuts a line after at most qpLineLength characters, never inside an escape.
void appendWrapped(QByteArray &out, QByteArrayView line)
{
    while (line.size() > qpLineLength) {
        qsizetype cut = qpLineLength;
        if (line[cut - 1] == '=')
            cut -= 1;
        else if (line[cut - 2] == '=')
            cut -= 2;
        out += line.first(cut);
        out += "=\r\n";
        line = line.sliced(cut);
    }
    out += line;
    out += "\r\n";
}

int base64Value(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

int upperHexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

QByteArray EncodeBase64Stream(const QByteArray &source)
{
    const QByteArray encoded = source.toBase64();
    QByteArray out;
    out.reserve(encoded.size() + encoded.size() / base64LineLength * 2 + 2);
    for (qsizetype pos = 0; pos < encoded.size(); pos += base64LineLength) {
        out += QByteArrayView(encoded).sliced(pos, std::min(base64LineLength, encoded.size() - pos));
        out += "\r\n";
    }
    return out;
}

QByteArray EncodeBase64(const QByteArray &text)
{
    QByteArray lines = text;
    lines.replace("\r\n", "\n").replace('\r', '\n');
    if (lines.endsWith('\n'))
        lines.chop(1);
    lines.replace("\n", "\r\n");
    return lines.toBase64();
}

QByteArray DecodeBase64Line(QByteArrayView line)
{
    QByteArray out;
    for (qsizetype pos = 0; pos + 4 <= line.size(); pos += 4) {
        const QByteArrayView group = line.sliced(pos, 4);
        if (group[0] == '=')
            break;
        int values[4] = {};
        int count = 4;
        for (int i = 0; i < 4; ++i) {
            if (i >= 2 && group[i] == '=') {
                count = i;
                break;
            }
            values[i] = base64Value(group[i]);
            if (values[i] < 0)
                return out;
        }
        const quint32 bits = (values[0] << 18) | (values[1] << 12) | (values[2] << 6) | values[3];
        out += char(bits >> 16);
        if (count >= 3)
            out += char((bits >> 8) & 0xFF);
        if (count == 4)
            out += char(bits & 0xFF);
        if (count < 4)
            break;
    }
    return out;
}

QByteArray EncodeQuotedPrintable(const QByteArray &text, bool headerMode)
{
    QByteArray out;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const uchar c = uchar(text[i]);
        const bool lineBreakCr = c == '\r' && i + 1 < n && text[i + 1] == '\n';
        const bool lineBreakLf = c == '\n' && i > 0 && text[i - 1] == '\r';
        const bool control = c < 32 && c != '\t' && c != '\r' && c != '\n';
        const bool escape = c >= 128 || c == '=' || control || (c == '\r' && !lineBreakCr)
            || (c == '\n' && !lineBreakLf) || (headerMode && isHeaderSpecial(c));
        if (escape) {
            appendEscape(out, c);
            continue;
        }
        out += char(c);
        if (!headerMode && lineBreakLf)
            escapeTrailingWhitespace(out, out.size() - 2);
    }
    if (headerMode || out.isEmpty())
        return out;
    escapeTrailingWhitespace(out, out.size() - (out.endsWith("\r\n") ? 2 : 0));

    QByteArray wrapped;
    wrapped.reserve(out.size() + out.size() / qpLineLength * 3 + 2);
    QByteArrayView rest(out);
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf("\r\n");
        if (end < 0) {
            appendWrapped(wrapped, rest);
            break;
        }
        appendWrapped(wrapped, rest.first(end));
        rest = rest.sliced(end + 2);
    }
    return wrapped;
}

QByteArray DecodeQuotedPrintable(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '=') {
            out += c;
            ++i;
            continue;
        }
        // A soft line break may end in LF alone when another tool wrote the text.
        if (i + 1 < text.size() && text[i + 1] == '\n') {
            i += 2;
            continue;
        }
        if (i + 2 >= text.size())
            break;
        const int high = upperHexValue(text[i + 1]);
        const int low = upperHexValue(text[i + 2]);
        if (high >= 0 && low >= 0)
            out += char(high * 16 + low);
        i += 3;
    }
    return out;
}

std::optional<quint8> UUDecodeChar(char character)
{
    if (character == ' ' || character == '`')
        return 0;
    if (character > ' ' && character <= '_')
        return quint8(character - ' ');
    return std::nullopt;
}

QByteArray UUDecodeLine(QByteArrayView line)
{
    if (line.isEmpty())
        return {};
    const auto count = UUDecodeChar(line[0]);
    if (!count)
        return {};
    const QByteArrayView data = line.sliced(1).first(std::min<qsizetype>(line.size() - 1, 60));
    QByteArray out;
    quint32 bits = 0;
    int bitCount = 0;
    for (const char character : data) {
        const auto value = UUDecodeChar(character);
        if (!value)
            return {};
        bits = (bits << 6) | *value;
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            out += char((bits >> bitCount) & 0xFF);
        }
    }
    out.truncate(*count);
    return out;
}

} // namespace smtpmail
