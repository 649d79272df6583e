#include "settings/FeedFields.h"

#include "base/Decimal.h"
#include "settings/Archive.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace tickerlux::settings {

namespace {

using V = FeedFieldValues;

// The settings file, field by field, in file order. The form's control ids are the resource
// set's (1001 is the web server edit box).
const std::array kFields = {
    FeedField{.name = "WebServer", .member = &V::WebServer, .controlId = 1001, .label = "Web Server:"},
    FeedField{.name = "WebPath", .member = &V::WebPath, .controlId = 1002,
              .label = "Directory/File on Website:"},
    FeedField{.name = "ReservedText", .member = &V::ReservedText},
    FeedField{.name = "AutoUpdate", .member = &V::AutoUpdate, .controlId = 1007,
              .label = "Auto Update Every:"},
    FeedField{.name = "UpdateMinutes", .member = &V::UpdateMinutes, .defaultText = "60",
              .controlId = 1008, .label = "min."},
    FeedField{.name = "TextBefore", .member = &V::TextBefore, .controlId = 1009,
              .label = "Text Before Headline:"},
    FeedField{.name = "TextAfter", .member = &V::TextAfter, .controlId = 1010,
              .label = "Text After Headline:"},
    FeedField{.name = "LeadingComment", .member = &V::LeadingComment, .controlId = 1011,
              .label = "Leading Comment:"},
    FeedField{.name = "ColorIndex", .member = &V::ColorIndex, .defaultNumber = 9, .controlId = 1013,
              .label = "Color:"},
    FeedField{.name = "Condensed", .member = &V::Condensed, .controlId = 1014, .label = "Condensed Text"},
    FeedField{.name = "ReservedFlag", .member = &V::ReservedFlag},
    FeedField{.name = "ShowTime", .member = &V::ShowTime, .controlId = 1019,
              .label = "Show Time of Last Update"},
    FeedField{.name = "HeadlineSource", .member = &V::HeadlineSource,
              .defaultNumber = kHeadlinesFromMarkers, .place = FieldPlace::TrailingWhenNotDefault,
              .minimum = kHeadlinesFromMarkers, .maximum = kHeadlinesFromFeedItems},
};

} // namespace

FeedFieldValues::FeedFieldValues()
{
    for (const FeedField& field : kFields)
        field.Reset(*this);
}

std::string& FeedField::Text1252(FeedFieldValues& values) const
{
    return values.*std::get<std::string V::*>(member);
}

const std::string& FeedField::Text1252(const FeedFieldValues& values) const
{
    return values.*std::get<std::string V::*>(member);
}

int FeedField::Number(const FeedFieldValues& values) const
{
    if (const auto* flag = std::get_if<bool V::*>(&member))
        return values.**flag ? 1 : 0;
    return values.*std::get<int V::*>(member);
}

bool FeedField::SetNumber(FeedFieldValues& values, int number) const
{
    if (const auto* flag = std::get_if<bool V::*>(&member)) {
        if (number != 0 && number != 1)
            return false;
        values.**flag = number != 0;
        return true;
    }
    if (number < minimum || number > maximum)
        return false;
    values.*std::get<int V::*>(member) = number;
    return true;
}

void FeedField::Copy(const FeedFieldValues& from, FeedFieldValues& to) const
{
    std::visit([&](auto field) { to.*field = from.*field; }, member);
}

bool FeedField::IsDefault(const FeedFieldValues& values) const
{
    return Type() == FieldType::Text1252 ? Text1252(values) == defaultText
                                         : Number(values) == defaultNumber;
}

void FeedField::Reset(FeedFieldValues& values) const
{
    if (Type() == FieldType::Text1252)
        Text1252(values) = defaultText;
    else
        SetNumber(values, defaultNumber);
}

void FeedField::Store(CArchive& ar, const FeedFieldValues& values) const
{
    if (Type() == FieldType::Text1252)
        ar << Text1252(values);
    else
        ar << Number(values);
}

void FeedField::Load(CArchive& ar, FeedFieldValues& values) const
{
    if (Type() == FieldType::Text1252) {
        ar >> Text1252(values);
        return;
    }
    int number = 0;
    ar >> number;
    if (Type() == FieldType::Bool)
        number = number != 0 ? 1 : 0;
    if (!SetNumber(values, number))
        Reset(values);
}

std::string FeedField::Format1252(const FeedFieldValues& values) const
{
    return Type() == FieldType::Text1252 ? Text1252(values) : std::to_string(Number(values));
}

bool FeedField::Parse1252(FeedFieldValues& values, std::string_view text1252) const
{
    if (Type() == FieldType::Text1252) {
        Text1252(values) = text1252;
        return true;
    }
    const std::optional<int> number = base::WholeDecimal(text1252);
    return number && SetNumber(values, *number);
}

std::string FeedField::Expected() const
{
    switch (Type()) {
    case FieldType::Text1252:
        return "a text";
    case FieldType::Bool:
        return "0 or 1";
    case FieldType::Integer:
        break;
    }
    if (minimum == INT_MIN && maximum == INT_MAX)
        return "a whole number";
    return std::to_string(minimum) + (maximum - minimum == 1 ? " or " : " to ") +
           std::to_string(maximum);
}

std::span<const FeedField> FeedFields()
{
    return kFields;
}

const FeedField* FindFeedField(std::string_view name)
{
    const auto found = std::ranges::find(kFields, name, &FeedField::name);
    return found == kFields.end() ? nullptr : &*found;
}

const FeedField& FeedFieldNamed(std::string_view name)
{
    if (const FeedField* field = FindFeedField(name))
        return *field;
    throw std::logic_error("no feed field " + std::string(name));
}

void SerializeFeedFields(CArchive& ar, FeedFieldValues& values)
{
    for (const FeedField& field : kFields) {
        const bool trailing = field.place == FieldPlace::TrailingWhenNotDefault;
        if (ar.IsStoring()) {
            if (!trailing || !field.IsDefault(values))
                field.Store(ar, values);
        } else if (!trailing) {
            field.Load(ar, values);
        } else {
            // Older files end before it; bytes that hold no whole value are ignored as before.
            try {
                field.Load(ar, values);
            } catch (const CArchiveException&) {
                field.Reset(values);
            }
        }
    }
}

} // namespace tickerlux::settings
