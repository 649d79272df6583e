#pragma once

#include "mqtt/SignCommands.h"

#include <chrono>
#include <optional>
#include <string>

namespace tickerlux::mqtt {

// Something the bridge had to refuse or drop, told in the state until the next one.
struct Notice {
    std::string text;
    std::chrono::system_clock::time_point at;
};

// `time` in ISO 8601 local time with its offset: "2024-05-01T14:03:00+02:00".
std::string Iso8601(std::chrono::system_clock::time_point time);

// The retained state of a sign: {"line", "sent" (ISO 8601 or null), "job", "feed", and when one
// happened, "notice" and "notice_at"}.
std::string StateMessage(const SignState& state, const std::optional<Notice>& notice);

} // namespace tickerlux::mqtt
