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
        m_text.Append(u_isUWhiteSpace(static_cast<UChar32>(codePoint)) ? U' ' : codePoint);
    }

    void PutUtf8(const char* text)
    {
        const std::string_view view(text);
        for (std::size_t at = 0; at < view.size();) {
            if (auto codePoint = base::utf8::NextCodePoint(view, at))
                Put(*codePoint);
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
    const std::string utf8 = base::win1252::ToUtf8(unwrapped);
    GumboOptions options = kGumboDefaultOptions;
    options.fragment_context = GUMBO_TAG_DIV;
    options.max_errors = 0;
    GumboOutput* parsed = gumbo_parse_with_options(&options, utf8.data(), utf8.size());
    PutText(parsed->root, text);
    gumbo_destroy_output(&options, parsed);
    return text.Collapsed();
}

} // namespace tickerlux::headlines
