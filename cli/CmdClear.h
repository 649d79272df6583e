#pragma once

#include "cli/Commands.h"

namespace tickerlux::cli {

// `clear`: the Clear Sign command.
Command ClearCommand();

} // namespace tickerlux::cli
