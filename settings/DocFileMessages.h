#pragma once

#include "base/Failure.h"

#include <string>

namespace tickerlux::settings {

// What the user is told when a settings file cannot be opened or saved (a failure of kind
// FileUnreadable, FileUnexpectedFormat or FileNotSaved, as CTickerluxDoc gives it: `where` is
// the path as the file system spells it, in UTF-8, `systemText` the system's reason).
//   FileUnreadable:       Unable to read "PATH": REASON.
//   FileUnexpectedFormat: Unexpected file format.
//   FileNotSaved:         Unable to save "PATH": REASON.
std::string DocFileMessage(const base::Failure& failure);

} // namespace tickerlux::settings
