#pragma once

#include "cli/Commands.h"

namespace cli {

// `set FEED.tlx NAME=VALUE...`: creates or changes a settings file.
Command SetCommand();

} // namespace cli
