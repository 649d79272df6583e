#include "headlines/TickerluxEngine.h"
#include "headlines/UserInterface.h"
#include "link/SharedLibrary.h"
#include "usb/BetaBriteUsb.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr const char* kLibraryFile = "libbetabriteusb.so";
constexpr int kPieceSize = 256;
constexpr std::size_t kReplySize = 2000;
// The read after each piece asks for one packet of reply.
constexpr int kReplyPackets = 1;

constexpr const char* kLoadFailed =
    "Error opening libbetabriteusb.so -- please find it where this program was installed and try "
    "copying it to /usr/local/lib or /usr/lib or some similar system directory and re-run this "
    "program.";
constexpr const char* kOpenMissing = "Error connecting to USB Open() function";
constexpr const char* kOpenFailed =
    "Failed to Open the USB connection to the LED sign -- some other program may be using the LED "
    "sign, or the sign needs to be re-connected, or the computer needs to be rebooted.";
constexpr const char* kWriteMissing = "Error connecting to USB Write() function";
constexpr const char* kReadMissing = "Error connecting to USB Read() function";
constexpr const char* kCloseMissing = "Error connecting to USB Close() function";

using OpenFunction = decltype(&USBBULK_Open);
using WriteFunction = decltype(&USBBULK_Write);
using ReadFunction = decltype(&USBBULK_Read);
using CloseFunction = decltype(&USBBULK_Close);

} // namespace

// Loads the library afresh for every transmission and unloads it before returning, so a sign
// plugged in, or a library installed, while the program runs is found by the next delivery.
// Each problem is shown once, in the order the steps meet it. The result is true only when every
// piece was accepted and the connection was closed normally.
bool CTickerluxEngine::SendViaUsb(const unsigned char* data, int length)
{
    CSharedLibrary library;
    if (!library.Load(kLibraryFile)) {
        m_ui.MessageBox(kLoadFailed);
        return false;
    }

    const auto open = library.Find<OpenFunction>("USBBULK_Open");
    if (!open) {
        library.Free();
        m_ui.MessageBox(kOpenMissing);
        return false;
    }

    std::array<unsigned char, kPieceSize> staging{};
    std::array<unsigned char, kReplySize> reply{};

    const bool opened = open() != 0;
    if (!opened)
        m_ui.MessageBox(kOpenFailed);

    int offset = 0;
    bool complete = false;
    const auto write = library.Find<WriteFunction>("USBBULK_Write");
    const auto read = write ? library.Find<ReadFunction>("USBBULK_Read") : nullptr;
    if (!write) {
        m_ui.MessageBox(kWriteMissing);
    } else if (!read) {
        m_ui.MessageBox(kReadMissing);
    } else if (opened) {
        // A refused piece ends the transmission silently; the rest is dropped.
        int lastResult = 1;
        while (offset < length && lastResult > 0) {
            const int piece = std::min(kPieceSize, length - offset);
            std::memcpy(staging.data(), data + offset, static_cast<std::size_t>(piece));
            lastResult = write(staging.data(), piece);
            read(reply.data(), kReplyPackets);
            if (lastResult > 0) {
                offset += piece;
                m_ui.DeliveryProgress(offset, length);
            }
        }
        complete = offset >= length;
    }

    const auto close = library.Find<CloseFunction>("USBBULK_Close");
    if (!close) {
        library.Free();
        m_ui.MessageBox(kCloseMissing);
        return false;
    }
    close();
    library.Free();
    return complete;
}
