#include "settings/CommSettings.h"

namespace tickerlux::settings {

namespace {

struct KindName {
    ConnectionKind kind;
    const char* name;
};

constexpr KindName kKindNames[] = {
    {ConnectionKind::ClassicSerial, "serial port - betabrite classic"},
    {ConnectionKind::CustomSerial, "serial port - custom settings"},
    {ConnectionKind::Usb, "usb - betabrite prism"},
};

struct ParityText {
    Parity parity;
    const char* name;
};

constexpr ParityText kParityNames[] = {
    {Parity::Unset, ""}, {Parity::Blank, " "}, {Parity::None, "none"},
    {Parity::Even, "even"}, {Parity::Odd, "odd"},
};

} // namespace

const char* ConnectionName(ConnectionKind kind)
{
    for (const KindName& entry : kKindNames)
        if (entry.kind == kind)
            return entry.name;
    return "";
}

ConnectionKind ConnectionKindOf(std::string_view text)
{
    for (const KindName& entry : kKindNames)
        if (text == entry.name)
            return entry.kind;
    return ConnectionKind::None;
}

const char* ParityName(Parity parity)
{
    for (const ParityText& entry : kParityNames)
        if (entry.parity == parity)
            return entry.name;
    return "";
}

std::optional<Parity> ParityOf(std::string_view text)
{
    for (const ParityText& entry : kParityNames)
        if (text == entry.name)
            return entry.parity;
    return std::nullopt;
}

std::optional<StopBits> StopBitsOf(int number)
{
    if (number < 0 || number > 2)
        return std::nullopt;
    return static_cast<StopBits>(number);
}

std::string CommSettings::ConnectionText() const
{
    return Connection == ConnectionKind::None ? UnnamedConnection : ConnectionName(Connection);
}

void CommSettings::ChooseKind(ConnectionKind kind)
{
    Connection = kind;
    UnnamedConnection.clear();
    if (kind == ConnectionKind::Usb) {
        ComPort = 0;
        BaudRate = 0;
        ByteSize = 0;
        Parity = settings::Parity::Unset;
        StopBits = settings::StopBits::Unset;
    } else if (kind == ConnectionKind::ClassicSerial) {
        BaudRate = kClassicBaudRate;
        ByteSize = kClassicByteSize;
        Parity = kClassicParity;
        StopBits = kClassicStopBits;
    }
}

} // namespace tickerlux::settings
