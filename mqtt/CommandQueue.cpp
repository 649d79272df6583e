#include "mqtt/CommandQueue.h"

namespace tickerlux::mqtt {

const char* Describe(CommandKind kind)
{
    switch (kind) {
    case CommandKind::Message:
        return "message";
    case CommandKind::Update:
        return "update";
    case CommandKind::Clear:
        return "clear";
    }
    return "command";
}

std::optional<Command> CCommandQueue::Push(Command command)
{
    if (command.kind != CommandKind::Message && !m_waiting.empty() &&
        m_waiting.back().kind == command.kind)
        return std::nullopt;
    std::optional<Command> dropped;
    if (m_waiting.size() == kMaxWaiting) {
        dropped = std::move(m_waiting.front());
        m_waiting.pop_front();
    }
    m_waiting.push_back(std::move(command));
    return dropped;
}

std::optional<Command> CCommandQueue::Pop()
{
    if (m_waiting.empty())
        return std::nullopt;
    Command next = std::move(m_waiting.front());
    m_waiting.pop_front();
    return next;
}

} // namespace tickerlux::mqtt
