#include "engine/TickerluxEngine.h"

#include "engine/UserInterface.h"

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

void CTickerluxEngine::ShowUsbProblems(const std::vector<base::Failure>& problems)
{
    for (const base::Failure& problem : problems)
        m_ui.MessageBox(Message(problem));
}

base::Failure CTickerluxEngine::SendViaUsb(const Transmission& transmission)
{
    link::CSignConnection usb{link::UsbSign{}};
    std::vector<base::Failure> problems = usb.Opening().problems;
    const base::Failure sent =
        usb.Send(transmission.data(), transmission.size(), Progress()).failure;
    const link::DeliveryResult closed = usb.Close();
    problems.insert(problems.end(), closed.problems.begin(), closed.problems.end());
    ShowUsbProblems(problems);
    return sent.Failed() ? sent : closed.failure;
}

} // namespace tickerlux::engine
