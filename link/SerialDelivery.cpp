#include "link/Transports.h"

#include "link/LineSettingsChoices.h"
#include "link/SerialPort.h"
#include "settings/PortMap.h"

#include <string>

namespace tickerlux::link {

// Open exclusively with the line settings, discard input, write within the deadline, close.
// Nothing after the write discards output, which would drop the transmission's tail.
DeliveryResult DeliverOverSerial(const settings::CommSettings& settings, const unsigned char* data,
                                 std::size_t length, const Progress& progress,
                                 std::chrono::milliseconds slack)
{
    // The COMn name is resolved once, so the port written to is the port named in a failure.
    const std::string path = settings::portmap::DevicePathForComPort(settings.ComPort);
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
