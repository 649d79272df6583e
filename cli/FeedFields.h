#pragma once

#include "settings/TickerluxDoc.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Document fields by name, as text: the settings-file fields, NAME=VALUE arguments, show lines.
namespace cli {

// One field of CTickerluxDoc, named as the code spells it, read and written as Windows-1252 text;
// an integer field as decimal.
class CDocField {
public:
    constexpr CDocField(const char* name, std::string CTickerluxDoc::*text)
        : m_name(name), m_text(text)
    {
    }
    constexpr CDocField(const char* name, int CTickerluxDoc::*number)
        : m_name(name), m_number(number)
    {
    }

    const char* Name() const { return m_name; }
    bool IsInteger() const { return m_number != nullptr; }

    std::string Get(const CTickerluxDoc& doc) const;
    // False, changing nothing, when an integer field is given anything but a 32-bit decimal.
    bool Set(CTickerluxDoc& doc, std::string_view value) const;

private:
    const char* m_name;
    std::string CTickerluxDoc::*m_text = nullptr;
    int CTickerluxDoc::*m_number = nullptr;
};

// The twelve fields of the settings file, in file order.
std::span<const CDocField> FeedFields();

// The field called exactly `name`, or nullptr.
const CDocField* FindField(std::span<const CDocField> fields, std::string_view name);

// One checked NAME=VALUE: the field and its value as Windows-1252 bytes.
struct FieldAssignment {
    const CDocField* field;
    std::string value;
};

// Parses UTF-8 NAME=VALUE arguments (escapes allowed in VALUE, see Escapes.h) against `fields`.
// Nothing, with `error` set to a one-line reason, when any argument lacks '=', names no field of
// `fields`, holds a bad escape, or gives an integer field a non-number; so a caller can check
// every argument before it changes anything.
std::optional<std::vector<FieldAssignment>> ParseAssignments(
    const std::vector<std::string>& args, std::span<const CDocField> fields, std::string& error);

void ApplyAssignments(CTickerluxDoc& doc, const std::vector<FieldAssignment>& assignments);

// "NAME=VALUE" as one UTF-8 line (no newline), the value escaped.
std::string FormatField(const CDocField& field, const CTickerluxDoc& doc);

} // namespace cli
