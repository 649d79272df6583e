#include "headlines/HeadlineCleanup.h"

#include "base/Utf8.h"
#include "base/Win1252.h"
#include "headlines/CodePageText.h"

#include <gumbo.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <vector>

namespace tickerlux::headlines {

namespace {

std::string UnwrapCdata(std::string_view text)
{
    static constexpr std::string_view kOpen = "<![CDATA[";
    static constexpr std::string_view kClose = "]]>";
    std::string out;
    for (;;) {
        const std::size_t open = text.find(kOpen);
        out += text.substr(0, open);
        if (open == std::string_view::npos)
            return out;
        text.remove_prefix(open + kOpen.size());
        const std::size_t close = text.find(kClose);
        out += text.substr(0, close);
        if (close == std::string_view::npos)
            return out;
        text.remove_prefix(close + kClose.size());
    }
}

// Elements whose edges part the words on either side, as a browser lays them out.
bool PartsWords(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_BR:
    case GUMBO_TAG_P:
    case GUMBO_TAG_DIV:
    case GUMBO_TAG_LI:
    case GUMBO_TAG_TD:
    case GUMBO_TAG_TH:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_H1:
    case GUMBO_TAG_H2:
    case GUMBO_TAG_H3:
    case GUMBO_TAG_H4:
    case GUMBO_TAG_H5:
    case GUMBO_TAG_H6:
    case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_DD:
    case GUMBO_TAG_DT:
        return true;
    default:
        return false;
    }
}

// Elements whose content is not text for the reader.
bool Hidden(GumboTag tag)
{
    return tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE;
}

// Windows-1252 text with every white-space character as a space.
class CSpacedText {
public:
    void Put(char32_t codePoint)
    {
        // ASCII's white space (tab, line feed, vertical tab, form feed, carriage return, space)
        // without asking ICU.
        const bool space = codePoint < 0x80
                               ? codePoint == ' ' || (codePoint >= 0x09 && codePoint <= 0x0D)
                               : u_isUWhiteSpace(static_cast<UChar32>(codePoint));
        m_text.Append(space ? U' ' : codePoint);
    }

    void PutUtf8(const char* text)
    {
        const std::string_view view(text);
        for (std::size_t at = 0; at < view.size();) {
            const auto byte = static_cast<unsigned char>(view[at]);
            if (byte < 0x80) {
                Put(byte);
                ++at;
            } else if (auto codePoint = base::utf8::NextCodePoint(view, at)) {
                Put(*codePoint);
            }
        }
    }

    // One space for each run of spaces, none at the ends.
    std::string Collapsed() const
    {
        std::string out;
        out.reserve(m_out.size());
        bool space = false;
        for (const char c : m_out) {
            if (c == ' ') {
                space = true;
                continue;
            }
            if (space && !out.empty())
                out += ' ';
            space = false;
            out += c;
        }
        return out;
    }

private:
    std::string m_out;
    CCodePageText m_text{m_out};
};

// The text of a parsed fragment in document order, walked without recursion (a headline may
// nest tags deeply). A null entry stands for the edge of an element that parts words.
void PutText(const GumboNode* root, CSpacedText& text)
{
    std::vector<const GumboNode*> pending{root};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        if (node == nullptr) {
            text.Put(U' ');
            continue;
        }
        switch (node->type) {
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_CDATA:
        case GUMBO_NODE_WHITESPACE:
            text.PutUtf8(node->v.text.text);
            break;
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE: {
            const GumboElement& element = node->v.element;
            if (Hidden(element.tag))
                break;
            const bool parts = PartsWords(element.tag);
            if (parts)
                pending.push_back(nullptr);
            for (unsigned i = element.children.length; i-- > 0;)
                pending.push_back(static_cast<const GumboNode*>(element.children.data[i]));
            if (parts)
                pending.push_back(nullptr);
            break;
        }
        default:
            break;  // comments and the document node's own data
        }
    }
}

// The tree parser rebuilds every open formatting element after each block, so its work and memory
// grow with the product of the tags, and it frees its tree by recursion as deep as the nesting.
// A headline with more tags than this is read by StripTags instead, in time linear in its length.
constexpr std::size_t kMaxParsedTags = 256;

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Whether the '<' at `at` opens markup: a start or end tag, a comment or a declaration.
bool OpensMarkup(std::string_view html, std::size_t at)
{
    if (at + 1 >= html.size())
        return false;
    const char next = html[at + 1];
    return IsAsciiLetter(next) || next == '/' || next == '!' || next == '?';
}

std::size_t CountTags(std::string_view html)
{
    std::size_t count = 0;
    for (std::size_t at = html.find('<'); at != std::string_view::npos; at = html.find('<', at + 1))
        count += OpensMarkup(html, at) ? 1 : 0;
    return count;
}

std::size_t FindNoCase(std::string_view text, std::string_view lowerNeedle, std::size_t from)
{
    const auto lower = [](char c) { return IsAsciiLetter(c) ? static_cast<char>(c | 0x20) : c; };
    const auto found = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                                   lowerNeedle.begin(), lowerNeedle.end(),
                                   [&](char a, char b) { return lower(a) == b; });
    return static_cast<std::size_t>(found - text.begin());
}

// Where the tag starting at `at` ends (past its '>'), with '>' inside a quoted attribute value
// kept in the tag, as the tokenizer keeps it.
std::size_t TagEnd(std::string_view html, std::size_t at)
{
    char quote = 0;
    char last = 0;
    for (std::size_t i = at + 1; i < html.size(); ++i) {
        const char c = html[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '>') {
            return i + 1;
        } else if ((c == '"' || c == '\'') && last == '=') {
            quote = c;
        }
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f')
            last = c;
    }
    return html.size();
}

// The markup of a headline with its tags, comments and declarations taken out in one pass: an
// element that parts words leaves a space, the content of a script or style goes with it, and
// text (its references still to decode) stays, a stray '<' written as "&lt;" so that the text
// parses as text alone.
std::string StripTags(std::string_view html)
{
    std::string out;
    out.reserve(html.size());
    std::size_t at = 0;
    while (at < html.size()) {
        const std::size_t open = html.find('<', at);
        const std::size_t textEnd = open == std::string_view::npos ? html.size() : open;
        out.append(html.substr(at, textEnd - at));
        if (textEnd == html.size())
            break;
        if (!OpensMarkup(html, open)) {
            out += "&lt;";
            at = open + 1;
            continue;
        }
        if (html.substr(open).starts_with("<!--")) {
            const std::size_t close = html.find("-->", open + 4);
            at = close == std::string_view::npos ? html.size() : close + 3;
            continue;
        }
        at = TagEnd(html, open);
        const bool endTag = html[open + 1] == '/';
        std::size_t nameEnd = open + (endTag ? 2 : 1);
        if (nameEnd >= html.size() || !IsAsciiLetter(html[nameEnd]))
            continue;  // a declaration or a bogus comment
        const std::size_t nameStart = nameEnd;
        while (nameEnd < html.size() && std::string_view(" \t\n\r\f/>").find(html[nameEnd]) ==
                                            std::string_view::npos)
            ++nameEnd;
        const std::string_view name = html.substr(nameStart, nameEnd - nameStart);
        const GumboTag tag = gumbo_tagn_enum(name.data(), static_cast<unsigned>(name.size()));
        if (PartsWords(tag))
            out += ' ';
        if (!endTag && Hidden(tag)) {
            const std::string close = "</" + std::string(gumbo_normalized_tagname(tag));
            at = TagEnd(html, std::min(FindNoCase(html, close, at), html.size()));
        }
    }
    return out;
}

}  // namespace

std::string CleanHeadline(std::string_view headline)
{
    const std::string unwrapped = UnwrapCdata(headline);
    CSpacedText text;
    if (unwrapped.find_first_of("<&") == std::string::npos) {
        for (const char c : unwrapped)
            text.Put(base::win1252::ToUnicode(static_cast<unsigned char>(c)));
        return text.Collapsed();
    }
    std::string utf8 = base::win1252::ToUtf8(unwrapped);
    if (CountTags(utf8) > kMaxParsedTags)
        utf8 = StripTags(utf8);
    GumboOptions options = kGumboDefaultOptions;
    options.fragment_context = GUMBO_TAG_DIV;
    options.max_errors = 0;
    GumboOutput* parsed = gumbo_parse_with_options(&options, utf8.data(), utf8.size());
    PutText(parsed->root, text);
    gumbo_destroy_output(&options, parsed);
    return text.Collapsed();
}

} // namespace tickerlux::headlines
