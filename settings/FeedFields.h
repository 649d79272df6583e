#pragma once

#include <climits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace tickerlux::settings {

class CArchive;

// The values of a headline feed that the settings file holds. Texts are Windows-1252 bytes.
// A fresh one holds every field's default (from the table in FeedFields.cpp).
struct FeedFieldValues {
    FeedFieldValues();
    bool operator==(const FeedFieldValues&) const = default;

    std::string WebServer;
    std::string WebPath;
    std::string ReservedText;
    bool AutoUpdate{};
    std::string UpdateMinutes;
    std::string TextBefore;
    std::string TextAfter;
    std::string LeadingComment;
    int ColorIndex{};
    bool Condensed{};
    bool ReservedFlag{};
    bool ShowTime{};
    // Where the headlines come from: kHeadlinesFromMarkers or kHeadlinesFromFeedItems.
    int HeadlineSource{};
};

inline constexpr int kHeadlinesFromMarkers = 0;
inline constexpr int kHeadlinesFromFeedItems = 1;

enum class FieldType { Text1252, Integer, Bool };

// Where a field is in the file. A trailing field comes after all the others, is written only
// when it is not its default, and a file that ends (or holds no valid value) before it gives the
// default: files of the fields before it keep their bytes, and their readers read them unchanged.
enum class FieldPlace { Always, TrailingWhenNotDefault };

// One field of the settings file, as the code, the file, the command line, JSON and the form
// know it.
struct FeedField {
    using Member = std::variant<std::string FeedFieldValues::*, int FeedFieldValues::*,
                                bool FeedFieldValues::*>;

    std::string_view name;
    Member member;
    // The default: `text` for a text field, `number` for an integer (a bool: 0 or 1).
    std::string_view defaultText = "";
    int defaultNumber = 0;
    FieldPlace place = FieldPlace::Always;
    // The control that shows it on the headline form and its caption; 0 and "" for none.
    int controlId = 0;
    std::string_view label = "";
    // The values an integer field takes.
    int minimum = INT_MIN;
    int maximum = INT_MAX;

    FieldType Type() const { return static_cast<FieldType>(member.index()); }

    std::string& Text1252(FeedFieldValues& values) const;
    const std::string& Text1252(const FeedFieldValues& values) const;
    // An integer's value, or a bool's as 0 or 1 (for a text field: a logic error).
    int Number(const FeedFieldValues& values) const;
    // Sets an integer or bool field; false, changing nothing, outside minimum..maximum (0..1).
    bool SetNumber(FeedFieldValues& values, int number) const;

    // Copies this field's value alone.
    void Copy(const FeedFieldValues& from, FeedFieldValues& to) const;
    bool IsDefault(const FeedFieldValues& values) const;
    void Reset(FeedFieldValues& values) const;

    // The archive encoding: a text as itself, an integer and a bool as 4 bytes (a bool 0 or 1;
    // any other value loads as true).
    void Store(CArchive& ar, const FeedFieldValues& values) const;
    void Load(CArchive& ar, FeedFieldValues& values) const;

    // As the command line shows it: the bytes of a text, an integer or a bool in decimal.
    std::string Format1252(const FeedFieldValues& values) const;
    // The reverse; false, changing nothing, when a number field gets anything but a decimal in
    // its range.
    bool Parse1252(FeedFieldValues& values, std::string_view text1252) const;
    // What Parse1252 takes, for a message: "a whole number", "0 or 1".
    std::string Expected() const;
};

// Every field in file order; the trailing ones last.
std::span<const FeedField> FeedFields();
// The field of that name; nullptr for none.
const FeedField* FindFeedField(std::string_view name);
// The field of a name the program itself spells (a logic error for an unknown name).
const FeedField& FeedFieldNamed(std::string_view name);

// Writes or reads every field in file order (the format's version text comes before).
void SerializeFeedFields(CArchive& ar, FeedFieldValues& values);

} // namespace tickerlux::settings
