#include "cli/Escapes.h"

#include "base/Win1252.h"

namespace tickerlux::cli {

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Control characters, DEL and the five bytes the code page leaves undefined (they map to C1
// controls) have no printable form.
bool IsPrintable(unsigned char byte)
{
    const char32_t cp = base::win1252::ToUnicode(byte);
    return cp >= 0x20 && cp != 0x7F && !(cp >= 0x80 && cp <= 0x9F);
}

} // namespace

std::optional<std::string> Unescape(std::string_view utf8, std::string& error)
{
    std::string bytes;
    std::size_t literalStart = 0;
    std::size_t i = 0;
    // A backslash is plain ASCII, never part of a multibyte UTF-8 sequence.
    while ((i = utf8.find('\\', literalStart)) != std::string_view::npos) {
        bytes += base::win1252::FromUtf8(utf8.substr(literalStart, i - literalStart));
        const char kind = i + 1 < utf8.size() ? utf8[i + 1] : '\0';
        std::size_t length = 2;
        switch (kind) {
        case '\\': bytes += '\\'; break;
        case 'n': bytes += '\n'; break;
        case 'r': bytes += '\r'; break;
        case 't': bytes += '\t'; break;
        case 'x': {
            const int high = i + 2 < utf8.size() ? HexValue(utf8[i + 2]) : -1;
            const int low = i + 3 < utf8.size() ? HexValue(utf8[i + 3]) : -1;
            if (high < 0 || low < 0) {
                error = "\\x needs two hex digits (\\x00 to \\xFF)";
                return std::nullopt;
            }
            bytes += static_cast<char>(high * 16 + low);
            length = 4;
            break;
        }
        case '\0':
            error = "a lone backslash ends the text (write \\\\ for a backslash)";
            return std::nullopt;
        default:
            error = (static_cast<unsigned char>(kind) < 0x80
                         ? std::string("unknown escape \\") + kind
                         : std::string("unknown escape")) +
                    " (known: \\\\ \\n \\r \\t \\xHH)";
            return std::nullopt;
        }
        literalStart = i + length;
    }
    bytes += base::win1252::FromUtf8(utf8.substr(literalStart));
    return bytes;
}

std::string Escape(std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': out += "\\\\"; continue;
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case '\t': out += "\\t"; continue;
        default: break;
        }
        if (IsPrintable(byte)) {
            out += base::win1252::ToUtf8(std::string_view(&c, 1));
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

} // namespace tickerlux::cli
