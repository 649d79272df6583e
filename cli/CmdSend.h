#pragma once

#include "cli/Commands.h"

namespace tickerlux::cli {

// `send TEXT [--color N] [--condensed] [--raw]`: delivers TEXT as the sign line.
Command SendCommand();

} // namespace tickerlux::cli
