#include "cli/FeedFields.h"

#include "cli/Escapes.h"

#include <array>
#include <charconv>

namespace tickerlux::cli {

namespace {

constexpr std::array kFeedFields = {
    CDocField("WebServer", &settings::CTickerluxDoc::WebServer),
    CDocField("WebPath", &settings::CTickerluxDoc::WebPath),
    CDocField("ReservedText", &settings::CTickerluxDoc::ReservedText),
    CDocField("AutoUpdate", &settings::CTickerluxDoc::AutoUpdate),
    CDocField("UpdateMinutes", &settings::CTickerluxDoc::UpdateMinutes),
    CDocField("TextBefore", &settings::CTickerluxDoc::TextBefore),
    CDocField("TextAfter", &settings::CTickerluxDoc::TextAfter),
    CDocField("LeadingComment", &settings::CTickerluxDoc::LeadingComment),
    CDocField("ColorIndex", &settings::CTickerluxDoc::ColorIndex),
    CDocField("Condensed", &settings::CTickerluxDoc::Condensed),
    CDocField("ReservedFlag", &settings::CTickerluxDoc::ReservedFlag),
    CDocField("ShowTime", &settings::CTickerluxDoc::ShowTime),
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

} // namespace tickerlux::cli
