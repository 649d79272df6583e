#pragma once

#include <optional>

namespace tickerlux::app {

// The keyboard's lock keys, for the status bar's CAP, NUM and SCRL panes.
struct LockKeyState {
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;
};

// The current state, or nothing when the windowing system does not report it.
std::optional<LockKeyState> QueryLockKeys();

} // namespace tickerlux::app
