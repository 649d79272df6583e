#include "mqtt/Payload.h"

#include "mqtt/SignText.h"
#include "sign/SignColors.h"

#include <nlohmann/json.hpp>

namespace tickerlux::mqtt {
namespace {

ReadPayload Refused(std::string why)
{
    return {std::nullopt, std::move(why)};
}

ReadPayload ReadJsonMessage(Command command, std::string_view payload)
{
    const nlohmann::json json = nlohmann::json::parse(payload, nullptr, false);
    if (json.is_discarded() || !json.is_object() || !json.contains("text") ||
        !json["text"].is_string())
        return Refused("a payload that starts with '{' must be a JSON object with a string "
                       "\"text\"");
    if (json.contains("color")) {
        const nlohmann::json& color = json["color"];
        const std::string given = color.is_string()          ? color.get<std::string>()
                                  : color.is_number_integer() ? color.dump()
                                                              : std::string();
        command.colorIndex = sign::ParseColorIndex(given);
        if (!command.colorIndex)
            return Refused("unknown colour " + color.dump() +
                           "; give a colour's number (0 to 10) or name");
    }
    if (json.contains("condensed")) {
        if (!json["condensed"].is_boolean())
            return Refused("\"condensed\" must be true or false");
        command.condensed = json["condensed"].get<bool>();
    }
    command.line = SignLineFromUtf8(json["text"].get<std::string>());
    return {std::move(command), {}};
}

} // namespace

ReadPayload ReadCommand(CommandKind kind, const std::string& topic, std::string_view payload)
{
    if (payload.size() > kMaxPayloadBytes)
        return Refused("a payload of " + std::to_string(payload.size()) +
                       " bytes is over the limit of " + std::to_string(kMaxPayloadBytes));
    Command command;
    command.kind = kind;
    command.topic = topic;
    if (kind != CommandKind::Message)
        return {std::move(command), {}};
    const std::size_t first = payload.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && payload[first] == '{')
        return ReadJsonMessage(std::move(command), payload);
    command.line = SignLineFromUtf8(payload);
    return {std::move(command), {}};
}

} // namespace tickerlux::mqtt
