#include "cli/FeedFields.h"

#include "cli/Escapes.h"

#include <array>
#include <charconv>

namespace cli {
namespace {

constexpr std::array kFeedFields = {
    CDocField("WebServer", &CTickerluxDoc::WebServer),
    CDocField("WebPath", &CTickerluxDoc::WebPath),
    CDocField("ReservedText", &CTickerluxDoc::ReservedText),
    CDocField("AutoUpdate", &CTickerluxDoc::AutoUpdate),
    CDocField("UpdateMinutes", &CTickerluxDoc::UpdateMinutes),
    CDocField("TextBefore", &CTickerluxDoc::TextBefore),
    CDocField("TextAfter", &CTickerluxDoc::TextAfter),
    CDocField("LeadingComment", &CTickerluxDoc::LeadingComment),
    CDocField("ColorIndex", &CTickerluxDoc::ColorIndex),
    CDocField("Condensed", &CTickerluxDoc::Condensed),
    CDocField("ReservedFlag", &CTickerluxDoc::ReservedFlag),
    CDocField("ShowTime", &CTickerluxDoc::ShowTime),
};

} // namespace

std::optional<int> ParseInteger(std::string_view text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    if (text.empty() || status != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::span<const CDocField> FeedFields()
{
    return kFeedFields;
}

std::string FormatAssignment(const char* name, const std::string& value)
{
    return std::string(name) + "=" + Escape(value);
}

} // namespace cli
