#pragma once

#include <ctime>
#include <string>

namespace tickerlux::headlines {

// The time stamp of the sign line for `when` in local time, e.g.
// " -- Last Update: Feb 23, 2008 at 03:07 PM " (leading and trailing space included). Month
// names and AM/PM are English whatever the process locale.
std::string FormatUpdateTimeStamp(std::time_t when);

} // namespace tickerlux::headlines
