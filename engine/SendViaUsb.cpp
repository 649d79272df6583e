#include "engine/TickerluxEngine.h"

#include "engine/UserInterface.h"
#include "link/Delivery.h"
#include "settings/TickerluxDoc.h"

#include <string_view>

namespace tickerlux::engine {

namespace {

constexpr const char* kLoadFailed =
    "Error opening libbetabriteusb.so -- please find it where this program was installed and try "
    "copying it to /usr/local/lib or /usr/lib or some similar system directory and re-run this "
    "program.";
constexpr const char* kOpenFailed =
    "Failed to Open the USB connection to the LED sign -- some other program may be using the LED "
    "sign, or the sign needs to be re-connected, or the computer needs to be rebooted.";
constexpr std::string_view kEntryPrefix = "USBBULK_";

// The message box for a problem of the USB delivery.
std::string Message(const base::Failure& problem)
{
    switch (problem.kind) {
    case base::FailureKind::UsbLibraryMissing:
        return kLoadFailed;
    case base::FailureKind::UsbOpenFailed:
        return kOpenFailed;
    default: {
        // "Error connecting to USB Write() function" for USBBULK_Write.
        std::string_view function = problem.where;
        if (function.starts_with(kEntryPrefix))
            function.remove_prefix(kEntryPrefix.size());
        return "Error connecting to USB " + std::string(function) + "() function";
    }
    }
}

} // namespace

base::Failure CTickerluxEngine::SendViaUsb(const unsigned char* data, int length)
{
    settings::CommSettings usb;
    usb.ChooseKind(settings::ConnectionKind::Usb);
    const link::DeliveryResult result = link::Deliver(
        usb, std::string(), data, static_cast<std::size_t>(length < 0 ? 0 : length), Progress());
    for (const base::Failure& problem : result.problems)
        m_ui.MessageBox(Message(problem));
    return result.failure;
}

} // namespace tickerlux::engine
