#pragma once

#include "mqtt/CommandQueue.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tickerlux::mqtt {

// The largest payload a command may carry.
inline constexpr std::size_t kMaxPayloadBytes = 30000;

// A payload read as a command, or why it was refused.
struct ReadPayload {
    std::optional<Command> command;
    std::string refusal;  // set when `command` is not
};

// Reads the payload of a command of `kind` that came on `topic`. An update or a clear takes
// any payload. A message's payload is its text in UTF-8, unless its first non-blank character
// is '{': then it must be a JSON object {"text": TEXT, "color": N or NAME, "condensed": BOOL}
// with only "text" required (colour as `send --color` takes it). A payload over
// kMaxPayloadBytes is refused whatever its kind. Nothing in a payload is run or used as a path.
ReadPayload ReadCommand(CommandKind kind, const std::string& topic, std::string_view payload);

} // namespace tickerlux::mqtt
