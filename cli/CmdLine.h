#pragma once

#include "cli/Commands.h"

namespace tickerlux::cli {

// `line FEED.tlx`: downloads the feed's page and prints the sign line; nothing is sent.
Command LineCommand();

} // namespace tickerlux::cli
