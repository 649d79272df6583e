#pragma once

#include "cli/Commands.h"

namespace tickerlux::cli {

// `show FEED.tlx`: prints the file fields, one NAME=VALUE a line, in file order.
Command ShowCommand();

} // namespace tickerlux::cli
