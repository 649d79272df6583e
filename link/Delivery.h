#pragma once

#include "base/Failure.h"
#include "settings/CommSettings.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tickerlux::link {

// Delivery of whole transmissions to the sign over one connection, held from its opening to its
// closing so that a command's transmissions reach the sign as one unit.

// Called with (bytes delivered, total) as a transmission goes out.
using Progress = std::function<void(long long sent, long long total)>;

// COMn and the device it names, resolved once per command.
struct SignPort {
    int com = 1;  // at least 1
    std::string devicePath;
    // "COM3 (/dev/ttyS2)"
    std::string Name() const;
};

// The speed and data bits a serial delivery used.
struct LineUsed {
    int baudRate = 0;
    int byteSize = 0;
    bool operator==(const LineUsed&) const = default;
};

struct DeliveryResult {
    base::Failure failure;  // kind None when every byte was delivered
    // Over USB, each problem met on the way, in order (the library or one of its functions
    // missing, the sign not opening); a refused piece is no problem of its own, only a failure.
    std::vector<base::Failure> problems;
};

// A serial write may take 1.5 times the bytes' time on the line plus this long.
inline constexpr std::chrono::milliseconds kSerialDeadlineSlack{2000};
// How long an opening waits for a port that another program holds.
inline constexpr std::chrono::milliseconds kPortWaitLimit{std::chrono::minutes(2)};

struct ConnectionOptions {
    std::chrono::milliseconds serialSlack = kSerialDeadlineSlack;
    std::chrono::milliseconds portWait = kPortWaitLimit;
    // Told once, with the port's name, when the port is held by another program and the
    // opening waits for it.
    std::function<void(const std::string& port)> waiting;
    // Asked while waiting and writing: true gives up the wait, or cuts a write at once (its
    // output discarded), as FailureKind::Abandoned.
    std::function<bool()> abandon;
};

class CTransport;

// Chooses the USB sign whatever the settings say.
struct UsbSign {};

// One connection to the sign, chosen once by the settings' kind: over USB for the USB kind
// (libbetabriteusb.so loaded and the sign opened), otherwise the serial port `port`, opened for
// this program alone with the settings' line (a speed below 1 taken as 9600, data bits other
// than 7 or 8 as 7), waiting up to options.portWait while another program holds it.
class CSignConnection {
public:
    CSignConnection(const settings::CommSettings& settings, const SignPort& port,
                    const ConnectionOptions& options = {});
    explicit CSignConnection(UsbSign);
    ~CSignConnection();
    CSignConnection(const CSignConnection&) = delete;
    CSignConnection& operator=(const CSignConnection&) = delete;

    bool IsUsb() const { return m_usb; }
    // Why the connection did not open (kind None when it did), with USB's problems so far.
    const DeliveryResult& Opening() const { return m_opening; }
    // The line settings a serial delivery uses where they differ from the settings given, once
    // the port was found (not for a missing port or one the user may not open).
    const std::optional<LineUsed>& LineUsedInstead() const { return m_lineUsed; }

    // Delivers one whole transmission; after a failed opening, that opening's failure.
    DeliveryResult Send(const unsigned char* data, std::size_t length, const Progress& progress);
    // Closes the connection (also done by the destructor). Over USB a close function missing
    // is a problem, and the failure of the transmission it could not finish.
    DeliveryResult Close();

private:
    bool m_usb;
    DeliveryResult m_opening;
    std::optional<LineUsed> m_lineUsed;
    std::unique_ptr<CTransport> m_transport;
};

} // namespace tickerlux::link
