#pragma once

namespace tickerlux::settings {

// The name the program goes by: message box captions, the window title, the web client's user
// agent, and the per-user store's keys.
inline constexpr const char* kProductName = "Newsglow";

} // namespace tickerlux::settings
