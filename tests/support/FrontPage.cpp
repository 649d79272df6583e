#include "tests/support/FrontPage.h"

#include <array>
#include <cstdint>

namespace {

constexpr std::array<const char*, 24> kWords = {
    "council", "approves", "budget", "for",    "new",     "harbour", "bridge",  "after",
    "long",    "debate",   "storm",  "closes", "schools", "across",  "the",     "valley",
    "market",  "rally",    "lifts",  "shares", "of",      "local",   "farmers", "season"};

class CWords {
public:
    std::string Sentence(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i) {
            m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
            std::string word = kWords[(m_state >> 33) % kWords.size()];
            if (i == 0)
                word[0] = static_cast<char>(word[0] - 'a' + 'A');
            text += (i ? " " : "") + word;
        }
        return text;
    }

private:
    std::uint64_t m_state = 42;
};

} // namespace

FrontPage MakeFrontPage(std::size_t size)
{
    FrontPage page;
    page.html = "<!DOCTYPE html><html><head><title>The Valley Times - news of the valley</title>"
                "</head><body><ul class=\"nav\">";
    for (const char* section : {"Home", "World", "Sports", "Local News", "Business",
                                "Science and Health", "Opinion", "Arts"})
        page.html +=
            std::string("<li><a href=\"/section/") + section + "\">" + section + "</a></li>";
    page.html += "</ul>\n<div class=\"stories\">\n";
    CWords words;
    const std::string end = "</div></body></html>";
    for (int story = 1;; ++story) {
        const std::string headline = words.Sentence(6 + story % 7);
        const std::string html = "<div class=\"story\"><h3 class=\"headline\"><a href=\"/news/" +
                                 std::to_string(story * 7919) + ".html\">" + headline +
                                 "</a></h3>\n<p class=\"summary\">" + words.Sentence(25) +
                                 ".</p><span class=\"byline\">By Staff Reporter " +
                                 std::to_string(story % 5) + "</span></div>\n";
        if (page.html.size() + html.size() + end.size() > size)
            break;
        page.html += html;
        page.headlines.push_back(headline);
    }
    page.html += end;
    page.html.insert(page.html.size() - end.size(), size - page.html.size(), ' ');
    return page;
}
