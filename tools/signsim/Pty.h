#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tickerlux::signsim {

// The pseudo-terminal that plays the sign's serial port: the program writes to the device
// (the slave side), the simulator reads the host side.

// The serial settings of the device, as its terminal settings hold them.
struct LineSettings {
    long baud = 0;
    int stopBits = 1;
    std::optional<int> dataBits;         // nullopt where the device forces them (a pseudo-terminal)
    std::optional<std::string> parity;   // "none", "even", "odd", "mark", "space"; as above
    int bitsPerCharacter = 10;           // start, data, parity and stop bits as the device is set
};

class CPty {
public:
    // Opens a new pseudo-terminal; throws std::system_error.
    CPty();
    ~CPty();
    CPty(const CPty&) = delete;
    CPty& operator=(const CPty&) = delete;

    const std::string& DevicePath() const { return m_path; }
    int HostFd() const { return m_master; }
    // Becomes readable when another program opens or closes the device.
    int WatchFd() const { return m_watch; }

    // Reads at most `max` waiting bytes without blocking; 0 when none wait.
    std::size_t Read(unsigned char* buffer, std::size_t max);
    bool HasWaitingBytes() const;

    // Takes the open and close notifications. When the last other opener has gone, the
    // exclusive-use flag it may have set is cleared (the simulator keeps the device open, so the
    // kernel would not clear it and the next delivery of an ordinary user would get EBUSY).
    void TakeOpenCloseEvents();
    bool HasOtherOpeners() const { return m_openers > 0; }

    LineSettings Line() const;

private:
    int m_master = -1;
    int m_slave = -1;   // kept open so that writers closing the device cause no hangup
    int m_watch = -1;
    int m_openers = 0;
    bool m_forcesEightNone = false;
    std::string m_path;
};

} // namespace tickerlux::signsim
