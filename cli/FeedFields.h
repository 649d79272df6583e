#pragma once

#include "cli/Escapes.h"
#include "settings/TickerluxDoc.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tickerlux::cli {

// Fields by name, as text: the settings-file fields, the communication settings, NAME=VALUE
// arguments, show and config lines.

// Parses a whole 32-bit decimal (no blanks, no '+'); nothing for anything else.
std::optional<int> ParseInteger(std::string_view text);

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
        const std::optional<int> number = ParseInteger(value);
        if (number)
            record.*m_number = *number;
        return number.has_value();
    }

private:
    const char* m_name;
    std::string Record::*m_text = nullptr;
    int Record::*m_number = nullptr;
};

using CDocField = CField<settings::CTickerluxDoc>;
using CCommField = CField<settings::CommSettings>;

// The twelve fields of the settings file, in file order.
std::span<const CDocField> FeedFields();

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
        const auto equals = arg.find('=');
        if (equals == std::string::npos) {
            error = "expected NAME=VALUE, got '" + arg + "'";
            return std::nullopt;
        }
        const std::string name = arg.substr(0, equals);
        const auto field = std::ranges::find_if(
            fields, [&](const CField<Record>& f) { return name == f.Name(); });
        if (field == fields.end()) {
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
        assignments.push_back({&*field, std::move(*value)});
    }
    return assignments;
}

template <class Record>
void ApplyAssignments(Record& record, const std::vector<FieldAssignment<Record>>& assignments)
{
    for (const FieldAssignment<Record>& assignment : assignments)
        assignment.field->Set(record, assignment.value);
}

// "NAME=VALUE" as one UTF-8 line (no newline), the value escaped.
std::string FormatAssignment(const char* name, const std::string& value);

template <class Record>
std::string FormatField(const CField<Record>& field, const Record& record)
{
    return FormatAssignment(field.Name(), field.Get(record));
}

} // namespace tickerlux::cli
