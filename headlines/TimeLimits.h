#pragma once

#include <chrono>

namespace tickerlux::headlines {

// How long a download may take. The defaults are the program's: a connection within 60 s; no
// stretch of 30 s slower than 100 bytes a second, which also ends a server that sends nothing;
// and two minutes for the whole download, redirects included. A full page of 199,999 bytes
// in two minutes needs 1,667 bytes a second (13 kbit/s), far below any line a sign's computer
// is on, while a server that drips a few bytes a second is given up after 30 s and one that
// stays just above the floor after two minutes, not a day.
struct TimeLimits {
    std::chrono::seconds connectTimeout{60};
    std::chrono::seconds stallLimit{30};
    long minBytesPerSecond = 100;
    std::chrono::milliseconds deadline{std::chrono::minutes(2)};
};

} // namespace tickerlux::headlines
