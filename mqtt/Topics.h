#pragma once

#include "mqtt/CommandQueue.h"

#include <optional>
#include <string>
#include <vector>

namespace tickerlux::mqtt {

// The topics of one sign: tickerlux/NAME/... and the commands of tickerlux/all/..., which reach
// every sign.
class CTopics {
public:
    explicit CTopics(const std::string& signName) : m_base("tickerlux/" + signName + "/") {}

    std::string State() const { return m_base + "state"; }
    std::string Availability() const { return m_base + "availability"; }
    // tickerlux/NAME/message/set and its kin.
    std::string CommandTopic(CommandKind kind) const;
    // The six command topics the sign listens to, its own and the ones for all.
    std::vector<std::string> Subscriptions() const;
    // The command a message on `topic` asks for; nullopt for any other topic.
    std::optional<CommandKind> CommandOf(const std::string& topic) const;

private:
    std::string m_base;
};

} // namespace tickerlux::mqtt
