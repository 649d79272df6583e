#pragma once

#include <optional>
#include <string>

namespace tickerlux::signsim {

// Why the window could not be opened on the X display that Qt would use (none is set aside, or
// it does not answer), or nothing when it can, or when Qt is told to use another platform. Qt
// ends the process (abort) when its X platform finds no display, so this is asked first.
std::optional<std::string> DisplayProblem();

}  // namespace tickerlux::signsim
