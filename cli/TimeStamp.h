#pragma once

#include <string>

namespace cli {

// The local wall-clock time as "YYYY-MM-DD HH:MM:SS", for lines a long-running command prints.
std::string TimeStamp();

} // namespace cli
