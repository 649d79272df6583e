#include "link/SerialPort.h"

#include <cmath>
#include <cstring>

namespace tickerlux::link {

std::string CSerialException::Message() const
{
    const char* text = strerrordesc_np(m_error);
    return text ? text : "error " + std::to_string(m_error);
}

std::chrono::milliseconds CSerialPort::WriteDeadline(std::size_t count, const LineSettings& line,
                                                     std::chrono::milliseconds slack)
{
    const double parityBits = line.parity == SerialParity::None ? 0.0 : 1.0;
    const double stopBits = line.stopBits == SerialStopBits::One          ? 1.0
                            : line.stopBits == SerialStopBits::OneAndHalf ? 1.5
                                                                          : 2.0;
    const double bitsPerCharacter = 1.0 + line.dataBits + parityBits + stopBits;
    const double speed = line.speed > 0 ? line.speed : 1.0;
    const double lineMs = static_cast<double>(count) * bitsPerCharacter * 1000.0 / speed;
    return std::chrono::milliseconds(static_cast<long long>(std::ceil(1.5 * lineMs))) + slack;
}

} // namespace tickerlux::link
