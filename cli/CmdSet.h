#pragma once

#include "cli/Commands.h"

namespace tickerlux::cli {

// `set FEED.tlx NAME=VALUE...`: creates or changes a settings file.
Command SetCommand();

} // namespace tickerlux::cli
