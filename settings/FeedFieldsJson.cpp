#include "settings/FeedFieldsJson.h"

#include "base/Win1252.h"

namespace tickerlux::settings {

using nlohmann::json;

json FeedFieldsToJson(const FeedFieldValues& values)
{
    json object = json::object();
    for (const FeedField& field : FeedFields()) {
        json& value = object[std::string(field.name)];
        switch (field.Type()) {
        case FieldType::Text1252: value = base::win1252::ToUtf8(field.Text1252(values)); break;
        case FieldType::Integer: value = field.Number(values); break;
        case FieldType::Bool: value = field.Number(values) != 0; break;
        }
    }
    return object;
}

namespace {

base::Failure TakeValue(const FeedField& field, const json& value, FeedFieldValues& values)
{
    const base::Failure wrongType{base::FailureKind::FieldWrongType, std::string(field.name),
                                  "takes " + field.Expected()};
    switch (field.Type()) {
    case FieldType::Text1252: {
        if (!value.is_string())
            return wrongType;
        std::optional<std::string> text1252 = base::win1252::FromUtf8Exactly(value.get<std::string>());
        if (!text1252)
            return {base::FailureKind::FieldNotWindows1252, std::string(field.name),
                    "holds a character that Windows-1252 lacks"};
        field.Text1252(values) = std::move(*text1252);
        return {};
    }
    case FieldType::Integer:
        // Every int is exact as a double, so the range check holds for any JSON integer.
        if (!value.is_number_integer() || value.get<double>() < field.minimum ||
            value.get<double>() > field.maximum)
            return wrongType;
        field.SetNumber(values, static_cast<int>(value.get<double>()));
        return {};
    case FieldType::Bool:
        if (!value.is_boolean())
            return wrongType;
        field.SetNumber(values, value.get<bool>() ? 1 : 0);
        return {};
    }
    return wrongType;
}

} // namespace

base::Failure FeedFieldsFromJson(const json& object, FeedFieldValues& values)
{
    if (!object.is_object())
        return {base::FailureKind::FieldWrongType, "", "the feed fields are not an object"};
    FeedFieldValues taken = values;
    for (const auto& [name, value] : object.items()) {
        const FeedField* field = FindFeedField(name);
        if (!field)
            return {base::FailureKind::FieldUnknown, name, "is no feed field"};
        if (base::Failure failure = TakeValue(*field, value, taken); failure.Failed())
            return failure;
    }
    values = std::move(taken);
    return {};
}

} // namespace tickerlux::settings
