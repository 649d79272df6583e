#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tickerlux::settings {

// The kinds of connection to a sign, as the Communication Settings dialog lists them.
enum class ConnectionKind {
    None,            // no connection chosen, or a text that names none of the three
    ClassicSerial,   // "serial port - betabrite classic": the classic sign's fixed line
    CustomSerial,    // "serial port - custom settings": every line value as given
    Usb,             // "usb - betabrite prism": through the USB library, no serial values
};

// The text of a kind as it is stored and listed (empty for None).
const char* ConnectionName(ConnectionKind kind);
// The kind a stored text names, compared exactly; None for any other text.
ConnectionKind ConnectionKindOf(std::string_view text);

// The classic sign's line: 9600 bits per second, 7 data bits, even parity, 1 stop bit. These are
// also a new document's values.
inline constexpr int kClassicBaudRate = 9600;
inline constexpr int kClassicByteSize = 7;
inline constexpr const char* kClassicParity = "even";
inline constexpr int kClassicStopBits = 1;

// The communication settings: how the sign is reached. Kept in the per-user store (not in the
// settings file), edited by the Communication Settings dialog and `tickerlux-cli config`.
// Connection keeps the text as stored: any text that is not the USB kind's is a serial port.
struct CommSettings {
    std::string Protocol = "alpha";
    std::string Connection;
    int ComPort = 1;
    int BaudRate = kClassicBaudRate;
    int ByteSize = kClassicByteSize;
    std::string Parity = kClassicParity;
    int StopBits = kClassicStopBits;

    ConnectionKind Kind() const { return ConnectionKindOf(Connection); }
    bool IsUsb() const { return Kind() == ConnectionKind::Usb; }

    // Choosing a kind: sets Connection to its text and the values the kind fixes. The classic
    // kind fixes its line; USB clears every serial value (port, speed, data and stop bits 0,
    // parity empty); a custom line and None fix nothing.
    void ChooseKind(ConnectionKind kind);

    bool operator==(const CommSettings&) const = default;
};

} // namespace tickerlux::settings
