#include "headlines/PageCharset.h"

#include "base/Utf8.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <optional>

namespace tickerlux::headlines::pagecharset {
namespace {

constexpr std::string_view kUtf8 = "UTF-8";
constexpr std::string_view kWindows1252 = "windows-1252";

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return Lower(c); });
    return out;
}

// Where `needle` (lower case) first occurs in `text` at or after `from`, in any case.
std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from = 0)
{
    const auto found =
        std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), needle.begin(),
                    needle.end(), [](char a, char b) { return Lower(a) == b; });
    return found == text.end() ? std::string_view::npos
                               : static_cast<std::size_t>(found - text.begin());
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The value of the first `key=value` in `text` (quoted or not, spaces around '=' allowed).
std::optional<std::string_view> ValueOf(std::string_view text, std::string_view key)
{
    for (std::size_t at = FindNoCase(text, key); at != std::string_view::npos;
         at = FindNoCase(text, key, at + 1)) {
        std::size_t i = at + key.size();
        while (i < text.size() && IsSpace(text[i]))
            ++i;
        if (i == text.size() || text[i] != '=')
            continue;
        ++i;
        while (i < text.size() && IsSpace(text[i]))
            ++i;
        if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
            const std::size_t end = text.find(text[i], i + 1);
            return text.substr(i + 1, end == std::string_view::npos ? end : end - i - 1);
        }
        std::size_t end = i;
        while (end < text.size() && !IsSpace(text[end]) &&
               std::string_view(";,>\"'/").find(text[end]) == std::string_view::npos)
            ++end;
        return text.substr(i, end - i);
    }
    return std::nullopt;
}

// The converter name for a charset label, or nothing when ICU knows no such charset.
std::optional<std::string> Known(std::string_view label)
{
    static constexpr std::array<std::string_view, 8> kReadAsWindows1252 = {
        "iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "l1", "us-ascii", "ascii", "cp819"};
    while (!label.empty() && IsSpace(label.front()))
        label.remove_prefix(1);
    while (!label.empty() && IsSpace(label.back()))
        label.remove_suffix(1);
    if (label.empty())
        return std::nullopt;
    const std::string name = Lower(label);
    if (std::find(kReadAsWindows1252.begin(), kReadAsWindows1252.end(), name) !=
        kReadAsWindows1252.end())
        return std::string(kWindows1252);
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(name.c_str(), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    ucnv_close(converter);
    return name;
}

std::optional<std::string> FromByteOrderMark(std::string_view page)
{
    if (page.starts_with("\xEF\xBB\xBF"))
        return std::string(kUtf8);
    if (page.starts_with("\xFE\xFF"))
        return "UTF-16BE";
    if (page.starts_with("\xFF\xFE"))
        return "UTF-16LE";
    return std::nullopt;
}

// A page read as ASCII cannot really be in UTF-16, whatever it says.
std::optional<std::string> Declared(std::string_view value)
{
    std::optional<std::string> known = Known(value);
    if (known && Lower(value).starts_with("utf-16"))
        return std::string(kUtf8);
    return known;
}

std::optional<std::string> FromDeclaration(std::string_view page)
{
    const std::string_view start = page.substr(0, kDeclarationWindow);
    std::size_t first = 0;
    while (first < start.size() && IsSpace(start[first]))
        ++first;
    if (start.substr(first).starts_with("<?xml")) {
        const std::size_t end = start.find("?>", first);
        if (auto value = ValueOf(start.substr(first, end - first), "encoding")) {
            if (auto known = Declared(*value))
                return known;
        }
    }
    for (std::size_t at = FindNoCase(start, "<meta"); at != std::string_view::npos;
         at = FindNoCase(start, "<meta", at + 1)) {
        const std::size_t end = start.find('>', at);
        if (auto value = ValueOf(start.substr(at, end == std::string_view::npos ? end : end - at),
                                 "charset")) {
            if (auto known = Declared(*value))
                return known;
        }
    }
    return std::nullopt;
}

// Valid UTF-8 with at least one multi-byte sequence; a sequence cut off by the end of the page
// (a page cut at the buffer's end) does not count against it.
bool LooksLikeUtf8(std::string_view page)
{
    bool multiByte = false;
    for (std::size_t at = 0; at < page.size();) {
        if (static_cast<unsigned char>(page[at]) < 0x80) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        if (base::utf8::NextCodePoint(page, at)) {
            multiByte = true;
            continue;
        }
        const std::string_view tail = page.substr(start);
        const auto lead = static_cast<unsigned char>(tail[0]);
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const bool cut = lead >= 0xC2 && lead <= 0xF4 && tail.size() < length &&
                         std::all_of(tail.begin() + 1, tail.end(), [](char c) {
                             return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
                         });
        return cut && multiByte;
    }
    return multiByte;
}

}  // namespace

std::string Detect(std::string_view contentType, std::string_view page)
{
    if (auto value = ValueOf(contentType, "charset")) {
        if (auto known = Known(*value))
            return *known;
    }
    if (auto bom = FromByteOrderMark(page))
        return *bom;
    if (auto declared = FromDeclaration(page))
        return *declared;
    return std::string(LooksLikeUtf8(page) ? kUtf8 : kWindows1252);
}

} // namespace tickerlux::headlines::pagecharset
