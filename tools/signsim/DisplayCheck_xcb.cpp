#include "tools/signsim/DisplayCheck.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string_view>

namespace tickerlux::signsim {

std::optional<std::string> DisplayProblem()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    if (platform != nullptr && *platform != '\0' && !std::string_view(platform).starts_with("xcb"))
        return std::nullopt;
    if ((platform == nullptr || *platform == '\0') && (display == nullptr || *display == '\0'))
        return std::nullopt;  // a Wayland display, left to Qt
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error == 0)
        return std::nullopt;
    return "--window cannot open the display \"" + std::string(display ? display : "") +
           "\" (no X server answers there, or it refuses this user)";
}

}  // namespace tickerlux::signsim
