#include "headlines/PageCharset.h"

#include "headlines/EncodingLabels.h"
#include "base/Utf8.h"

#include <algorithm>
#include <optional>
#include <vector>

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

// The converter of the encoding a label names, or nothing for a label the table lacks.
std::optional<std::string> Known(std::string_view label)
{
    const auto encoding = tickerlux::headlines::EncodingForLabel(label);
    if (!encoding)
        return std::nullopt;
    if (encoding->name == tickerlux::headlines::kReplacementEncoding)
        return std::string(tickerlux::headlines::kReplacementEncoding);
    return std::string(encoding->converter);
}

// What the page's own bytes declare: they were read as ASCII, so a UTF-16 label is wrong and
// means UTF-8, and x-user-defined means windows-1252.
std::optional<std::string> Declared(std::string_view label)
{
    const auto encoding = tickerlux::headlines::EncodingForLabel(label);
    if (!encoding)
        return std::nullopt;
    if (encoding->name == "utf-16be" || encoding->name == "utf-16le")
        return std::string(kUtf8);
    if (encoding->name == "x-user-defined")
        return std::string(kWindows1252);
    return Known(label);
}

// The charset parameter of a Content-Type header: "type/subtype; name=value; ...".
std::optional<std::string_view> HeaderCharset(std::string_view contentType)
{
    for (std::size_t semicolon = contentType.find(';'); semicolon != std::string_view::npos;) {
        const std::size_t next = contentType.find(';', semicolon + 1);
        const std::string_view parameter = contentType.substr(semicolon + 1, next - semicolon - 1);
        semicolon = next;
        std::size_t at = 0;
        while (at < parameter.size() && IsSpace(parameter[at]))
            ++at;
        const std::size_t equals = parameter.find('=', at);
        if (equals == std::string_view::npos || Lower(parameter.substr(at, equals - at)) != "charset")
            continue;
        const std::string_view value = parameter.substr(equals + 1);
        return value.starts_with('"') ? value.substr(1, value.find('"', 1) - 1) : value;
    }
    return std::nullopt;
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

// The quoted value after `at` and '=' (spaces around it allowed), as the HTML standard reads the
// charset in a meta element's content and the encoding of an XML declaration; an unquoted one
// ends at a space or ';' when `unquotedToo`, else there is none.
std::optional<std::string_view> ValueAfterEquals(std::string_view text, std::size_t at,
                                                 bool unquotedToo)
{
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    if (at >= text.size() || text[at] != '=')
        return std::nullopt;
    ++at;
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
        const std::size_t end = text.find(text[at], at + 1);
        if (end == std::string_view::npos)
            return std::nullopt;
        return text.substr(at + 1, end - at - 1);
    }
    if (!unquotedToo || at >= text.size())
        return std::nullopt;
    std::size_t end = at;
    while (end < text.size() && !IsSpace(text[end]) && text[end] != ';')
        ++end;
    return text.substr(at, end - at);
}

// The charset named in a meta element's content (already in lower case).
std::optional<std::string_view> CharsetInContent(std::string_view content)
{
    static constexpr std::string_view kCharset = "charset";
    for (std::size_t at = content.find(kCharset); at != std::string_view::npos;
         at = content.find(kCharset, at + 1)) {
        std::size_t after = at + kCharset.size();
        while (after < content.size() && IsSpace(content[after]))
            ++after;
        if (after < content.size() && content[after] == '=')
            return ValueAfterEquals(content, after, true);
    }
    return std::nullopt;
}

// The encoding of an XML declaration (without its closing '>').
std::optional<std::string_view> XmlEncoding(std::string_view declaration)
{
    const std::size_t at = FindNoCase(declaration, "encoding");
    if (at == std::string_view::npos)
        return std::nullopt;
    return ValueAfterEquals(declaration, at + 8, false);
}

// The HTML prescan of the page's first bytes (the HTML standard's "prescan a byte stream to
// determine its encoding"), which looks only at <meta charset=...> and at <meta http-equiv=
// "content-type" content="...charset=...">, skips comments and the attributes of other tags, and
// gives up on markup that the window's end cuts off.
class CPrescan {
public:
    explicit CPrescan(std::string_view window) : m_text(window) {}

    std::optional<std::string> Run()
    {
        while (m_at < m_text.size()) {
            if (Ahead("<!--")) {
                const std::size_t end = m_text.find("-->", m_at + 2);
                if (end == std::string_view::npos)
                    return std::nullopt;
                m_at = end + 3;
            } else if (AheadNoCase("<meta") && m_at + 5 < m_text.size() &&
                       (IsSpace(m_text[m_at + 5]) || m_text[m_at + 5] == '/')) {
                m_at += 6;
                bool complete = true;
                if (auto found = Meta(complete))
                    return found;
                if (!complete)
                    return std::nullopt;
            } else if (IsTagStart()) {
                while (m_at < m_text.size() && !IsSpace(m_text[m_at]) && m_text[m_at] != '>')
                    ++m_at;
                std::string name;
                std::string value;
                while (Attribute(name, value)) {
                }
                if (m_at >= m_text.size())
                    return std::nullopt;
            } else if (Ahead("<!") || Ahead("</") || Ahead("<?")) {
                const std::size_t end = m_text.find('>', m_at);
                if (end == std::string_view::npos)
                    return std::nullopt;
                m_at = end + 1;
            } else {
                ++m_at;
            }
        }
        return std::nullopt;
    }

private:
    bool Ahead(std::string_view text) const { return m_text.substr(m_at).starts_with(text); }
    bool AheadNoCase(std::string_view lower) const
    {
        return Lower(m_text.substr(m_at, lower.size())) == lower;
    }
    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    bool IsTagStart() const
    {
        const std::string_view rest = m_text.substr(m_at);
        return (rest.size() > 1 && rest[0] == '<' && IsLetter(rest[1])) ||
               (rest.size() > 2 && rest.starts_with("</") && IsLetter(rest[2]));
    }
    void SkipSpaces()
    {
        while (m_at < m_text.size() && IsSpace(m_text[m_at]))
            ++m_at;
    }

    // The charset of the meta element whose attributes start here; `complete` false when the
    // window ends inside it.
    std::optional<std::string> Meta(bool& complete)
    {
        std::vector<std::string> seen;
        bool gotPragma = false;
        std::optional<bool> needPragma;
        std::optional<std::string> charset;
        std::string name;
        std::string value;
        while (Attribute(name, value)) {
            if (std::find(seen.begin(), seen.end(), name) != seen.end())
                continue;
            seen.push_back(name);
            if (name == "http-equiv") {
                gotPragma = gotPragma || value == "content-type";
            } else if (name == "content" && !charset) {
                if (auto fromContent = CharsetInContent(value)) {
                    charset = std::string(*fromContent);
                    needPragma = true;
                }
            } else if (name == "charset") {
                charset = value;
                needPragma = false;
            }
        }
        complete = m_at < m_text.size();
        if (!complete || !needPragma || (*needPragma && !gotPragma))
            return std::nullopt;
        return Declared(*charset);
    }

    // The HTML standard's "get an attribute": false at the end of the tag (or of the window).
    // Names and values come in lower case.
    bool Attribute(std::string& name, std::string& value)
    {
        name.clear();
        value.clear();
        while (m_at < m_text.size() && (IsSpace(m_text[m_at]) || m_text[m_at] == '/'))
            ++m_at;
        if (m_at >= m_text.size() || m_text[m_at] == '>')
            return false;
        for (;; ++m_at) {
            if (m_at >= m_text.size())
                return false;
            const char c = m_text[m_at];
            if (c == '=' && !name.empty())
                break;
            if (IsSpace(c)) {
                SkipSpaces();
                if (m_at >= m_text.size())
                    return false;
                if (m_text[m_at] != '=')
                    return true;
                break;
            }
            if (c == '/' || c == '>')
                return true;
            name += Lower(c);
        }
        ++m_at;  // the '='
        SkipSpaces();
        if (m_at >= m_text.size())
            return false;
        const char quote = m_text[m_at];
        if (quote == '"' || quote == '\'') {
            const std::size_t end = m_text.find(quote, m_at + 1);
            if (end == std::string_view::npos) {
                m_at = m_text.size();
                return false;
            }
            value = Lower(m_text.substr(m_at + 1, end - m_at - 1));
            m_at = end + 1;
            return true;
        }
        if (quote == '>')
            return true;
        while (m_at < m_text.size() && !IsSpace(m_text[m_at]) && m_text[m_at] != '>')
            value += Lower(m_text[m_at++]);
        return m_at < m_text.size();
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

std::optional<std::string> FromDeclaration(std::string_view page)
{
    const std::string_view start = page.substr(0, kDeclarationWindow);
    std::size_t first = 0;
    while (first < start.size() && IsSpace(start[first]))
        ++first;
    if (start.substr(first).starts_with("<?xml")) {
        const std::size_t end = start.find('>', first);
        if (end == std::string_view::npos)
            return std::nullopt;
        if (auto value = XmlEncoding(start.substr(first, end - first)))
            return Declared(*value);
    }
    return CPrescan(start).Run();
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
    if (auto bom = FromByteOrderMark(page))
        return *bom;
    if (auto value = HeaderCharset(contentType)) {
        if (auto known = Known(*value))
            return *known;
    }
    if (auto declared = FromDeclaration(page))
        return *declared;
    return std::string(LooksLikeUtf8(page) ? kUtf8 : kWindows1252);
}

} // namespace tickerlux::headlines::pagecharset
