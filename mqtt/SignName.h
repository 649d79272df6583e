#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tickerlux::mqtt {

// The name a sign goes by on the broker, in its topics (tickerlux/NAME/...) and its unique ids.

// The default: the feed file's base name without ".tlx", lower-cased, with every character
// outside a-z, 0-9, '_' and '-' made '-'.
std::string DefaultSignName(std::string_view feedPath);

// What is wrong with `name` as a sign's name, if anything: it is empty, "all" (the topic that
// reaches every sign), or holds a character outside a-z, 0-9, '_' and '-'.
std::optional<std::string> SignNameProblem(std::string_view name);

} // namespace tickerlux::mqtt
