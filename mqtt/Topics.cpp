#include "mqtt/Topics.h"

namespace tickerlux::mqtt {
namespace {

constexpr CommandKind kKinds[] = {CommandKind::Message, CommandKind::Update, CommandKind::Clear};
constexpr const char* kAllBase = "tickerlux/all/";

std::string Suffix(CommandKind kind)
{
    return std::string(Describe(kind)) + "/set";
}

} // namespace

std::string CTopics::CommandTopic(CommandKind kind) const
{
    return m_base + Suffix(kind);
}

std::vector<std::string> CTopics::Subscriptions() const
{
    std::vector<std::string> topics;
    for (const CommandKind kind : kKinds) {
        topics.push_back(m_base + Suffix(kind));
        topics.push_back(kAllBase + Suffix(kind));
    }
    return topics;
}

std::optional<CommandKind> CTopics::CommandOf(const std::string& topic) const
{
    for (const CommandKind kind : kKinds)
        if (topic == m_base + Suffix(kind) || topic == kAllBase + Suffix(kind))
            return kind;
    return std::nullopt;
}

} // namespace tickerlux::mqtt
