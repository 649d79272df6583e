#pragma once

#include <string>

// The communication settings as the Communication settings dialog holds and saves them.
struct CommSettings {
    std::string Protocol;
    std::string Connection;
    int ComPort = 0;
    int BaudRate = 0;
    int ByteSize = 0;
    std::string Parity;
    int StopBits = 0;
};

// The Connection text that chooses the USB sign; any other text is a serial port.
inline constexpr const char* kUsbConnection = "usb - betabrite prism";
