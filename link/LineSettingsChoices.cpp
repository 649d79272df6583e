#include "link/LineSettingsChoices.h"

namespace tickerlux::link {

SerialParity ParityChoice(const std::string& parity)
{
    if (parity == "none")
        return SerialParity::None;
    if (parity == "odd")
        return SerialParity::Odd;
    return SerialParity::Even;
}

SerialStopBits StopBitsChoice(int stopBits)
{
    return stopBits == 2 ? SerialStopBits::Two : SerialStopBits::One;
}

LineSettings LineSettingsFor(const settings::CommSettings& settings)
{
    return {static_cast<std::uint32_t>(settings.BaudRate),
            static_cast<std::uint8_t>(settings.ByteSize & 0xFF), ParityChoice(settings.Parity),
            StopBitsChoice(settings.StopBits)};
}

} // namespace tickerlux::link
