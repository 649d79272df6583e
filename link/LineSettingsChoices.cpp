#include "link/LineSettingsChoices.h"

namespace tickerlux::link {

SerialParity ParityChoice(settings::Parity parity)
{
    switch (parity) {
    case settings::Parity::None:
        return SerialParity::None;
    case settings::Parity::Odd:
        return SerialParity::Odd;
    case settings::Parity::Even:
    case settings::Parity::Unset:
    case settings::Parity::Blank:
        break;
    }
    return SerialParity::Even;
}

SerialStopBits StopBitsChoice(settings::StopBits stopBits)
{
    return stopBits == settings::StopBits::Two ? SerialStopBits::Two : SerialStopBits::One;
}

LineSettings LineSettingsFor(const settings::CommSettings& settings)
{
    return {static_cast<std::uint32_t>(settings.BaudRate),
            static_cast<std::uint8_t>(settings.ByteSize & 0xFF), ParityChoice(settings.Parity),
            StopBitsChoice(settings.StopBits)};
}

} // namespace tickerlux::link
