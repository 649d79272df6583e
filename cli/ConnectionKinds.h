#pragma once

#include <string>

namespace tickerlux::cli {

// "choose "...", "..." or "..."", for messages about a kind that is none of the three.
std::string ConnectionKindChoices();

} // namespace tickerlux::cli
