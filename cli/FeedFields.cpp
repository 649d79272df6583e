#include "cli/FeedFields.h"

#include "cli/Escapes.h"

#include <array>
#include <charconv>

namespace cli {
namespace {

std::optional<int> ParseInteger(std::string_view text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    if (text.empty() || status != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

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

std::string CDocField::Get(const CTickerluxDoc& doc) const
{
    return IsInteger() ? std::to_string(doc.*m_number) : doc.*m_text;
}

bool CDocField::Set(CTickerluxDoc& doc, std::string_view value) const
{
    if (!IsInteger()) {
        doc.*m_text = value;
        return true;
    }
    const std::optional<int> number = ParseInteger(value);
    if (!number)
        return false;
    doc.*m_number = *number;
    return true;
}

std::span<const CDocField> FeedFields()
{
    return kFeedFields;
}

const CDocField* FindField(std::span<const CDocField> fields, std::string_view name)
{
    for (const CDocField& field : fields)
        if (name == field.Name())
            return &field;
    return nullptr;
}

std::optional<std::vector<FieldAssignment>> ParseAssignments(
    const std::vector<std::string>& args, std::span<const CDocField> fields, std::string& error)
{
    std::vector<FieldAssignment> assignments;
    for (const std::string& arg : args) {
        const auto equals = arg.find('=');
        if (equals == std::string::npos) {
            error = "expected NAME=VALUE, got '" + arg + "'";
            return std::nullopt;
        }
        const std::string name = arg.substr(0, equals);
        const CDocField* field = FindField(fields, name);
        if (!field) {
            error = "unknown field '" + name + "'";
            return std::nullopt;
        }
        std::string reason;
        const std::string_view text = std::string_view(arg).substr(equals + 1);
        std::optional<std::string> value = Unescape(text, reason);
        if (!value) {
            error = name + ": " + reason;
            return std::nullopt;
        }
        if (field->IsInteger() && !ParseInteger(*value)) {
            error = name + " takes a whole number, got '" + std::string(text) + "'";
            return std::nullopt;
        }
        assignments.push_back({field, std::move(*value)});
    }
    return assignments;
}

void ApplyAssignments(CTickerluxDoc& doc, const std::vector<FieldAssignment>& assignments)
{
    for (const FieldAssignment& assignment : assignments)
        assignment.field->Set(doc, assignment.value);
}

std::string FormatField(const CDocField& field, const CTickerluxDoc& doc)
{
    return std::string(field.Name()) + "=" + Escape(field.Get(doc));
}

} // namespace cli
