#include "link/Transports.h"

#include "link/LineSettingsChoices.h"
#include "link/SerialPort.h"

#include <string>

namespace tickerlux::link {

// Open exclusively with the line settings, discard input, write within the deadline, close.
// Nothing after the write discards output, which would drop the transmission's tail.
DeliveryResult DeliverOverSerial(const settings::CommSettings& settings, const std::string& path,
                                 const unsigned char* data, std::size_t length,
                                 const Progress& progress, std::chrono::milliseconds slack)
{
    const LineSettings line = LineSettingsFor(settings);
    try {
        CSerialPort port;
        port.Open(path, line);
        port.DiscardInput();
        port.Write(data, length, CSerialPort::WriteDeadline(length, line, slack), progress);
        port.Close();
    } catch (const CSerialException& failure) {
        // "COM3 (/dev/pts/4): open" and "Device or resource busy".
        return {{base::FailureKindForErrno(failure.Error()),
                 "COM" + std::to_string(settings.ComPort) + " (" + path + "): " +
                     failure.Operation(),
                 failure.Message()},
                {}};
    }
    return {};
}

} // namespace tickerlux::link
