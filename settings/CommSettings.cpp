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

void CommSettings::ChooseKind(ConnectionKind kind)
{
    Connection = ConnectionName(kind);
    if (kind == ConnectionKind::Usb) {
        ComPort = 0;
        BaudRate = 0;
        ByteSize = 0;
        Parity.clear();
        StopBits = 0;
    } else if (kind == ConnectionKind::ClassicSerial) {
        BaudRate = kClassicBaudRate;
        ByteSize = kClassicByteSize;
        Parity = kClassicParity;
        StopBits = kClassicStopBits;
    }
}

} // namespace tickerlux::settings
