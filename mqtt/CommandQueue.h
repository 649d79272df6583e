#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace tickerlux::mqtt {

enum class CommandKind { Message, Update, Clear };

// One command from the broker, read and checked, waiting for its turn on the sign.
struct Command {
    CommandKind kind = CommandKind::Update;
    std::string topic;                 // where it came from, for the log
    std::string line;                  // Message: the sign line, Windows-1252
    std::optional<int> colorIndex;     // Message: the feed's colour when not given
    std::optional<bool> condensed;     // Message: the feed's mode when not given
};

// What a command is called in the log: "message", "update", "clear".
const char* Describe(CommandKind kind);

// The commands waiting while the sign is busy, oldest first. An update or a clear that arrives
// right behind a waiting one of the same kind is merged into it: running it twice in a row shows
// the same as running it once. A message is never merged, and nothing is merged across another
// command, so the sign ends up as the commands in their order would leave it. At most
// kMaxWaiting wait; beyond that the oldest is dropped. Not thread-safe: its owner locks.
class CCommandQueue {
public:
    static constexpr std::size_t kMaxWaiting = 16;

    // Queues `command` (or merges it); returns the command dropped to make room, if any.
    std::optional<Command> Push(Command command);
    std::optional<Command> Pop();
    std::size_t Size() const { return m_waiting.size(); }

private:
    std::deque<Command> m_waiting;
};

} // namespace tickerlux::mqtt
