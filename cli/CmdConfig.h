#pragma once

#include "cli/Commands.h"

namespace cli {

// `config [NAME=VALUE...]`: prints or stores the communication settings.
Command ConfigCommand();

} // namespace cli
