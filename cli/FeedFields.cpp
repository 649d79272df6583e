#include "cli/FeedFields.h"

#include "cli/Escapes.h"


namespace tickerlux::cli {

std::optional<NamedValue> SplitAssignment(const std::string& arg, std::string& error)
{
    const auto equals = arg.find('=');
    if (equals == std::string::npos) {
        error = "expected NAME=VALUE, got '" + arg + "'";
        return std::nullopt;
    }
    NamedValue given{arg.substr(0, equals), {}, std::string_view(arg).substr(equals + 1)};
    std::string reason;
    std::optional<std::string> value1252 = Unescape(given.argumentValue, reason);
    if (!value1252) {
        error = given.name + ": " + reason;
        return std::nullopt;
    }
    given.value1252 = std::move(*value1252);
    return given;
}

std::optional<std::vector<FeedAssignment>> ParseFeedAssignments(const std::vector<std::string>& args,
                                                                std::string& error)
{
    std::vector<FeedAssignment> assignments;
    for (const std::string& arg : args) {
        std::optional<NamedValue> given = SplitAssignment(arg, error);
        if (!given)
            return std::nullopt;
        const settings::FeedField* field = settings::FindFeedField(given->name);
        if (!field) {
            error = "unknown field '" + given->name + "'";
            return std::nullopt;
        }
        settings::FeedFieldValues scratch;
        if (!field->Parse1252(scratch, given->value1252)) {
            error = given->name + " takes " + field->Expected() + ", got '" +
                    std::string(given->argumentValue) + "'";
            return std::nullopt;
        }
        assignments.push_back({field, std::move(given->value1252)});
    }
    return assignments;
}

void ApplyFeedAssignments(settings::FeedFieldValues& values,
                          const std::vector<FeedAssignment>& assignments)
{
    for (const FeedAssignment& assignment : assignments)
        assignment.field->Parse1252(values, assignment.value1252);
}

std::string FormatAssignment(std::string_view name, const std::string& value1252)
{
    return std::string(name) + "=" + Escape(value1252);
}

std::string FormatFeedField(const settings::FeedField& field, const settings::FeedFieldValues& values)
{
    return FormatAssignment(field.name, field.Format1252(values));
}

} // namespace tickerlux::cli
