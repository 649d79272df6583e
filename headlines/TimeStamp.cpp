#include "headlines/TimeStamp.h"

#include <cstdio>

namespace tickerlux::headlines {

std::string FormatUpdateTimeStamp(std::time_t when)
{
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    if (!localtime_r(&when, &local))
        local = std::tm{};  // out of range: the epoch's fields rather than garbage
    const int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    char text[64];
    std::snprintf(text, sizeof text, " -- Last Update: %s %02d, %d at %02d:%02d %s ",
                  kMonths[local.tm_mon], local.tm_mday, local.tm_year + 1900, hour12,
                  local.tm_min, local.tm_hour < 12 ? "AM" : "PM");
    return text;
}

} // namespace tickerlux::headlines
