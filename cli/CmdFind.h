#pragma once

#include "cli/Commands.h"

namespace tickerlux::cli {

// `find ADDRESS|FEED.tlx`: lists the ways to get headlines from a page.
Command FindCommand();

} // namespace tickerlux::cli
