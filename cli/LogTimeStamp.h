#pragma once

#include <string>

namespace tickerlux::cli {

// The local wall-clock time as "YYYY-MM-DD HH:MM:SS", for lines a long-running command prints.
std::string LogTimeStamp();

} // namespace tickerlux::cli
