#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tickerlux::settings {

// The kinds of connection to a sign, as the Communication Settings dialog lists them.
enum class ConnectionKind {
    None,            // no connection chosen, or a stored text that names none of the three
    ClassicSerial,   // "serial port - betabrite classic": the classic sign's fixed line
    CustomSerial,    // "serial port - custom settings": every line value as given
    Usb,             // "usb - betabrite prism": through the USB library, no serial values
};

// The parity of the serial line. Unset and Blank choose no parity of their own (the line gets
// even parity): Unset is what choosing USB leaves, Blank the dialog's blank entry.
enum class Parity { Unset, Blank, None, Even, Odd };

// The stop bits of the serial line; the number is what is stored. Unset (the dialog's blank
// entry, or what choosing USB leaves) gives the line one stop bit.
enum class StopBits { Unset = 0, One = 1, Two = 2 };

// The texts of the kinds, parities and stop bits, as they are stored, listed and printed: the
// only place they are spelled. A text is compared exactly.
const char* ConnectionName(ConnectionKind kind);  // empty for None
ConnectionKind ConnectionKindOf(std::string_view text);  // None for any other text
const char* ParityName(Parity parity);  // "", " ", "none", "even", "odd"
std::optional<Parity> ParityOf(std::string_view text);
std::optional<StopBits> StopBitsOf(int number);

// The classic sign's line: 9600 bits per second, 7 data bits, even parity, 1 stop bit. These are
// also a new document's values.
inline constexpr int kClassicBaudRate = 9600;
inline constexpr int kClassicByteSize = 7;
inline constexpr Parity kClassicParity = Parity::Even;
inline constexpr StopBits kClassicStopBits = StopBits::One;

// The communication settings: how the sign is reached. Kept in the per-user store (not in the
// settings file), edited by the Communication Settings dialog, `tickerlux-cli config` and the
// web page.
struct CommSettings {
    std::string Protocol = "alpha";
    ConnectionKind Connection = ConnectionKind::None;
    // A stored Connection text that names none of the kinds, kept as it was stored: such a
    // connection is a serial port. Empty whenever Connection names a kind.
    std::string UnnamedConnection;
    int ComPort = 1;
    int BaudRate = kClassicBaudRate;
    int ByteSize = kClassicByteSize;
    settings::Parity Parity = kClassicParity;
    settings::StopBits StopBits = kClassicStopBits;

    bool IsUsb() const { return Connection == ConnectionKind::Usb; }
    // The Connection text as stored and printed.
    std::string ConnectionText() const;
    // Whether a connection is chosen: a kind, or a stored text naming none.
    bool HasConnection() const
    {
        return Connection != ConnectionKind::None || !UnnamedConnection.empty();
    }

    // Choosing a kind: sets Connection and the values the kind fixes. The classic kind fixes its
    // line; USB clears every serial value (port, speed and data bits 0, parity and stop bits
    // unset); a custom line and None fix nothing.
    void ChooseKind(ConnectionKind kind);

    bool operator==(const CommSettings&) const = default;
};

} // namespace tickerlux::settings
