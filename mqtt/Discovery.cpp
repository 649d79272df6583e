#include "mqtt/Discovery.h"

#include "mqtt/Topics.h"
#include "settings/ProductName.h"

#include <nlohmann/json.hpp>

namespace tickerlux::mqtt {

std::vector<std::pair<std::string, std::string>> DiscoveryMessages(const BridgeSettings& settings)
{
    const CTopics topics(settings.signName);
    const std::string node = "tickerlux_" + settings.signName;
    const std::string device = node + "_" + settings.machineId;
    const nlohmann::json common = {
        {"availability_topic", topics.Availability()},
        {"device",
         {{"identifiers", {device}},
          {"name", std::string(settings::kProductName) + " " + settings.signName},
          {"manufacturer", settings::kProductName},
          {"model", "LED sign"}}},
    };
    struct Entity {
        const char* component;
        const char* object;
        const char* name;
        nlohmann::json fields;
    };
    const Entity entities[] = {
        {"text", "message", "Message",
         {{"command_topic", topics.CommandTopic(CommandKind::Message)},
          {"max", 255},
          {"mode", "text"}}},
        {"button", "update", "Update", {{"command_topic", topics.CommandTopic(CommandKind::Update)}}},
        {"button", "clear", "Clear", {{"command_topic", topics.CommandTopic(CommandKind::Clear)}}},
        {"sensor", "line", "Line on the sign",
         {{"state_topic", topics.State()},
          {"value_template", "{{ value_json.line[:255] }}"},
          {"json_attributes_topic", topics.State()}}},
    };
    std::vector<std::pair<std::string, std::string>> messages;
    for (const Entity& entity : entities) {
        nlohmann::json config = common;
        config.update(entity.fields);
        config["name"] = entity.name;
        config["unique_id"] = device + "_" + entity.object;
        config["object_id"] = node + "_" + entity.object;
        messages.emplace_back(settings.discoveryPrefix + "/" + entity.component + "/" + node + "/" +
                                  entity.object + "/config",
                              config.dump());
    }
    return messages;
}

} // namespace tickerlux::mqtt
