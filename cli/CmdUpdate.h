#pragma once

#include "cli/Commands.h"

namespace tickerlux::cli {

// `update FEED.tlx`: "Update Sign Now" once.
Command UpdateCommand();
// `watch FEED.tlx`: "Update Sign Now" at once and then every UpdateMinutes minutes.
Command WatchCommand();

} // namespace tickerlux::cli
