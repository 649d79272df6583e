#pragma once

#include "base/Decimal.h"
#include "settings/CommSettings.h"
#include "settings/FeedFields.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tickerlux::cli {

// Fields by name, as text: NAME=VALUE arguments for the settings-file fields (their table is
// settings/FeedFields.h) and the communication settings, show and config lines.

// One field of a record (the document, the communication settings), named as the code spells
// it, read and written as Windows-1252 text; an integer field as decimal.
template <class Record>
class CField {
public:
    constexpr CField(const char* name, std::string Record::*text) : m_name(name), m_text(text) {}
    constexpr CField(const char* name, int Record::*number) : m_name(name), m_number(number) {}

    const char* Name() const { return m_name; }
    bool IsInteger() const { return m_number != nullptr; }

    std::string Get(const Record& record) const
    {
        return IsInteger() ? std::to_string(record.*m_number) : record.*m_text;
    }
    // False, changing nothing, when an integer field is given anything but a 32-bit decimal.
    bool Set(Record& record, std::string_view value) const
    {
        if (!IsInteger()) {
            record.*m_text = value;
            return true;
        }
        const std::optional<int> number = base::WholeDecimal(value);
        if (number)
            record.*m_number = *number;
        return number.has_value();
    }

private:
    const char* m_name;
    std::string Record::*m_text = nullptr;
    int Record::*m_number = nullptr;
};

using CCommField = CField<settings::CommSettings>;

// One NAME=VALUE argument in UTF-8, its VALUE unescaped (see Escapes.h) to Windows-1252 bytes.
struct NamedValue {
    std::string name;
    std::string value1252;
    std::string_view argumentValue;  // VALUE as given, for messages
};

// Nothing, with `error` set to a one-line reason, when the argument lacks '=' or holds a bad
// escape.
std::optional<NamedValue> SplitAssignment(const std::string& arg, std::string& error);

// One checked NAME=VALUE: the field and its value as Windows-1252 bytes.
template <class Record>
struct FieldAssignment {
    const CField<Record>* field;
    std::string value;
};

// Parses UTF-8 NAME=VALUE arguments (escapes allowed in VALUE, see Escapes.h) against `fields`.
// Nothing, with `error` set to a one-line reason, when any argument lacks '=', names no field of
// `fields`, holds a bad escape, or gives an integer field a non-number; so a caller can check
// every argument before it changes anything.
template <class Record>
std::optional<std::vector<FieldAssignment<Record>>> ParseAssignments(
    const std::vector<std::string>& args, std::span<const CField<Record>> fields,
    std::string& error)
{
    std::vector<FieldAssignment<Record>> assignments;
    for (const std::string& arg : args) {
        std::optional<NamedValue> given = SplitAssignment(arg, error);
        if (!given)
            return std::nullopt;
        const auto field = std::ranges::find_if(
            fields, [&](const CField<Record>& f) { return given->name == f.Name(); });
        if (field == fields.end()) {
            error = "unknown field '" + given->name + "'";
            return std::nullopt;
        }
        if (field->IsInteger() && !base::WholeDecimal(given->value1252)) {
            error = given->name + " takes a whole number, got '" + std::string(given->argumentValue) + "'";
            return std::nullopt;
        }
        assignments.push_back({&*field, std::move(given->value1252)});
    }
    return assignments;
}

template <class Record>
void ApplyAssignments(Record& record, const std::vector<FieldAssignment<Record>>& assignments)
{
    for (const FieldAssignment<Record>& assignment : assignments)
        assignment.field->Set(record, assignment.value);
}

// NAME=VALUE arguments for the feed fields, checked as ParseAssignments checks them; a number
// field's value must be one the field takes (HeadlineSource: 0 or 1).
struct FeedAssignment {
    const settings::FeedField* field;
    std::string value1252;
};
std::optional<std::vector<FeedAssignment>> ParseFeedAssignments(const std::vector<std::string>& args,
                                                                std::string& error);
void ApplyFeedAssignments(settings::FeedFieldValues& values,
                          const std::vector<FeedAssignment>& assignments);

// "NAME=VALUE" as one UTF-8 line (no newline), the value escaped.
std::string FormatAssignment(std::string_view name, const std::string& value1252);

template <class Record>
std::string FormatField(const CField<Record>& field, const Record& record)
{
    return FormatAssignment(field.Name(), field.Get(record));
}

// A feed field as a show line.
std::string FormatFeedField(const settings::FeedField& field, const settings::FeedFieldValues& values);

} // namespace tickerlux::cli
