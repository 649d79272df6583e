#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

namespace tickerlux::link {

// A serial port as the sign link drives it: opened for this program alone with its line
// settings, input discarded, every byte written within a deadline, closed. Every failure is
// raised as CSerialException with the operation and the system's error code. The platform code
// (termios2 on Linux) lives in SerialPort_linux.cpp.

enum class SerialParity { None, Odd, Even, Mark, Space };
enum class SerialStopBits { One, OneAndHalf, Two };

struct LineSettings {
    std::uint32_t speed = 9600;  // bits per second
    std::uint8_t dataBits = 8;   // 5 to 8
    SerialParity parity = SerialParity::None;
    SerialStopBits stopBits = SerialStopBits::One;
};

class CSerialException : public std::exception {
public:
    CSerialException(int error, const char* operation) : m_error(error), m_operation(operation) {}

    // The system error code (errno).
    int Error() const { return m_error; }
    // The operation that failed ("open", "write", ...).
    const char* Operation() const { return m_operation; }
    // The system's text for the code, e.g. "Device or resource busy".
    std::string Message() const;
    const char* what() const noexcept override { return m_operation; }

private:
    int m_error;
    const char* m_operation;
};

class CSerialPort {
public:
    using Progress = std::function<void(long long sent, long long total)>;

    CSerialPort() = default;
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens the device at `path` for this program alone and sets its line: `line`, no flow
    // control, and the raw binary mode a sign needs. A port another opener holds is EBUSY.
    void Open(const std::string& path, const LineSettings& line);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    // Drops what the port has received and not yet read.
    void DiscardInput() const;

    // Writes every byte and waits until the line has carried them. Once `deadline` has passed
    // the rest is abandoned (output discarded, so that closing does not wait) and ETIMEDOUT is
    // raised; so it is, with ECANCELED, as soon as `abandon` says true. `progress` hears (bytes
    // written, total) as the write goes on.
    void Write(const void* data, std::size_t count, std::chrono::milliseconds deadline,
               const Progress& progress = {}, const std::function<bool()>& abandon = {}) const;

    // The time `count` bytes take on `line`, 1.5 times over, plus `slack`.
    static std::chrono::milliseconds WriteDeadline(std::size_t count, const LineSettings& line,
                                                   std::chrono::milliseconds slack);

private:
    int m_fd = -1;
};

} // namespace tickerlux::link
