#pragma once

#include <string>

namespace cli {

// "choose "...", "..." or "..."", for messages about a kind that is none of the three.
std::string ConnectionKindChoices();

} // namespace cli
