#pragma once

#include "cli/Commands.h"

namespace tickerlux::cli {

// `config [NAME=VALUE...]`: prints or stores the communication settings.
Command ConfigCommand();

} // namespace tickerlux::cli
