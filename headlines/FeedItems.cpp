#include "headlines/FeedItems.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <memory>

namespace tickerlux::headlines {
namespace {

constexpr std::string_view kAtomNs = "http://www.w3.org/2005/Atom";
constexpr std::string_view kAtom03Ns = "http://purl.org/atom/ns#";
constexpr std::string_view kRdfNs = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
constexpr std::string_view kRss10Ns = "http://purl.org/rss/1.0/";
constexpr std::string_view kRss090Ns = "http://my.netscape.com/rdf/simple/0.9/";
constexpr std::string_view kXhtmlNs = "http://www.w3.org/1999/xhtml";
constexpr std::string_view kJsonFeedVersion = "https://jsonfeed.org/version/1";

std::string_view View(const xmlChar* text)
{
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

std::string_view Namespace(const xmlNode* node)
{
    return node->ns ? View(node->ns->href) : std::string_view();
}

bool Is(const xmlNode* node, std::string_view name, std::string_view ns)
{
    return node->type == XML_ELEMENT_NODE && View(node->name) == name && Namespace(node) == ns;
}

bool IsAtom(const xmlNode* node, std::string_view name)
{
    return Is(node, name, kAtomNs) || Is(node, name, kAtom03Ns);
}

std::string EscapedText(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The text under `node` in document order: text and CDATA only, so an entity reference adds
// nothing (its replacement is never built up, however it nests). The tree is at most
// kMaxFeedDepth deep, as the parser allows.
void AppendText(const xmlNode* node, std::string& out)
{
    for (const xmlNode* child = node->children; child; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
            out += View(child->content);
        else if (child->type == XML_ELEMENT_NODE)
            AppendText(child, out);
    }
}

std::string TextOf(const xmlNode* node)
{
    std::string text;
    AppendText(node, text);
    return text;
}

// An Atom title: text (the default), html (markup as text) or xhtml (a div whose text is the
// title).
std::string AtomTitle(const xmlNode* title)
{
    xmlChar* type = xmlGetNoNsProp(title, reinterpret_cast<const xmlChar*>("type"));
    const std::string kind(View(type));
    xmlFree(type);
    if (kind == "html" || kind == "text/html")
        return TextOf(title);
    if (kind == "xhtml" || kind == "application/xhtml+xml") {
        for (const xmlNode* child = title->children; child; child = child->next) {
            if (Is(child, "div", kXhtmlNs))
                return EscapedText(TextOf(child));
        }
    }
    return EscapedText(TextOf(title));
}

// The title of each item that has one, among the children of `parent`.
template <typename IsItem, typename IsTitle, typename Title>
void TitlesOfItems(const xmlNode* parent, IsItem isItem, IsTitle isTitle, Title title,
                   std::vector<std::string>& titles)
{
    for (const xmlNode* item = parent->children; item; item = item->next) {
        if (!isItem(item))
            continue;
        for (const xmlNode* child = item->children; child; child = child->next) {
            if (isTitle(child)) {
                titles.push_back(title(child));
                break;
            }
        }
    }
}

struct DocFreer {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

FeedItems ReadXml(std::string_view page)
{
    // No XML_PARSE_NOENT (entities stay references), no DTD loading, no network, and no
    // XML_PARSE_HUGE, so the parser keeps its limits: 256 levels of nesting among them.
    const int options = XML_PARSE_NONET | XML_PARSE_NOCDATA | XML_PARSE_RECOVER |
                        XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    std::unique_ptr<xmlDoc, DocFreer> doc(
        xmlReadMemory(page.data(), static_cast<int>(page.size()), nullptr, nullptr, options));
    FeedItems feed;
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!root)
        return feed;
    const auto plain = [](const xmlNode* title) { return TextOf(title); };
    if (Is(root, "rss", "")) {
        feed.format = FeedFormat::Rss;
        for (const xmlNode* channel = root->children; channel; channel = channel->next) {
            if (Is(channel, "channel", ""))
                TitlesOfItems(
                    channel, [](const xmlNode* n) { return Is(n, "item", ""); },
                    [](const xmlNode* n) { return Is(n, "title", ""); }, plain, feed.titles);
        }
    } else if (Is(root, "RDF", kRdfNs)) {
        feed.format = FeedFormat::Rdf;
        const auto rss = [](const xmlNode* n, std::string_view name) {
            return Is(n, name, kRss10Ns) || Is(n, name, kRss090Ns);
        };
        TitlesOfItems(
            root, [&](const xmlNode* n) { return rss(n, "item"); },
            [&](const xmlNode* n) { return rss(n, "title"); }, plain, feed.titles);
    } else if (IsAtom(root, "feed")) {
        feed.format = FeedFormat::Atom;
        TitlesOfItems(
            root, [](const xmlNode* n) { return IsAtom(n, "entry"); },
            [](const xmlNode* n) { return IsAtom(n, "title"); }, AtomTitle, feed.titles);
    }
    return feed;
}

// Whether arrays and objects nest deeper than kMaxFeedDepth: the JSON parser recurses once a
// level, so such a text is never handed to it.
bool NestsTooDeep(std::string_view text)
{
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxFeedDepth)
                return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

FeedItems ReadJson(std::string_view page)
{
    FeedItems feed;
    if (NestsTooDeep(page))
        return feed;
    const nlohmann::json json = nlohmann::json::parse(page, nullptr, false);
    if (!json.is_object())
        return feed;
    const auto version = json.find("version");
    if (version == json.end() || !version->is_string() ||
        !version->get_ref<const std::string&>().starts_with(kJsonFeedVersion))
        return feed;
    feed.format = FeedFormat::JsonFeed;
    const auto items = json.find("items");
    if (items == json.end() || !items->is_array())
        return feed;
    for (const auto& item : *items) {
        if (!item.is_object())
            continue;
        const auto title = item.find("title");
        if (title != item.end() && title->is_string())
            feed.titles.push_back(EscapedText(title->get_ref<const std::string&>()));
    }
    return feed;
}

} // namespace

FeedItems ReadFeedItems(std::string_view page)
{
    page = page.substr(0, kMaxFeedLength);
    std::string_view start = page;
    if (start.starts_with("\xEF\xBB\xBF"))
        start.remove_prefix(3);
    const std::size_t first = start.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && start[first] == '{')
        return ReadJson(start);
    return ReadXml(page);
}

} // namespace tickerlux::headlines
