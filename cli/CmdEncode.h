#pragma once

#include "cli/Commands.h"

namespace tickerlux::cli {

// `encode [--color N] [--condensed] [--raw]`: the write-text transmission of the sign line on
// standard input, written to standard output.
Command EncodeCommand();

} // namespace tickerlux::cli
