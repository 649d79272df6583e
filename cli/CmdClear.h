#pragma once

#include "cli/Commands.h"

namespace cli {

// `clear`: the Clear Sign command.
Command ClearCommand();

} // namespace cli
