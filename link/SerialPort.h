#pragma once

#include <cstdint>
#include <exception>
#include <functional>

// A serial port as the sign link drives it: one operation per system call, every failure raised
// as CSerialException with the system's error code. The platform backend (SerialPort_posix.cpp on
// Linux, termios on a file descriptor) lives behind this header.

using SerialHandle = int;
inline constexpr SerialHandle kInvalidSerialHandle = -1;

// Choices of Open, passed as plain integers; a value outside a table keeps the port's setting.
enum SerialParity : std::int32_t {
    parityEven = 0,
    parityMark = 1,
    parityNone = 2,
    parityOdd = 3,
    paritySpace = 4,
};

enum SerialStopBits : std::int32_t {
    stopOne = 0,
    stopOneAndHalf = 1,
    stopTwo = 2,
};

enum SerialFlowControl : std::int32_t {
    flowNone = 0,
    flowCtsRts = 1,
    flowCtsDtr = 2,
    flowDsrRts = 3,
    flowDsrDtr = 4,
    flowXonXoff = 5,
};

// Line settings of a port, field for field those of the Windows device control block.
struct SerialLineState {
    static constexpr std::uint8_t kNoParity = 0, kOddParity = 1, kEvenParity = 2, kMarkParity = 3,
                                  kSpaceParity = 4;
    static constexpr std::uint8_t kOneStopBit = 0, kOne5StopBits = 1, kTwoStopBits = 2;
    static constexpr std::uint8_t kDtrControlDisable = 0, kDtrControlEnable = 1,
                                  kDtrControlHandshake = 2;
    static constexpr std::uint8_t kRtsControlDisable = 0, kRtsControlEnable = 1,
                                  kRtsControlHandshake = 2;

    std::uint32_t BaudRate = 9600;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = kNoParity;
    std::uint8_t StopBits = kOneStopBit;
    bool fOutxCtsFlow = false;
    bool fOutxDsrFlow = false;
    std::uint8_t fDtrControl = kDtrControlEnable;
    std::uint8_t fRtsControl = kRtsControlEnable;
    bool fDsrSensitivity = false;
    bool fOutX = false;
    bool fInX = false;
    char XonChar = 0x11;
    char XoffChar = 0x13;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
};

// The port's configuration record; on Linux it holds the line settings only.
struct SerialPortConfig {
    SerialLineState dcb;
};

// Bytes waiting in the driver's queues.
struct SerialLineStatus {
    std::uint32_t cbInQue = 0;
    std::uint32_t cbOutQue = 0;
};

struct SerialTimeouts {
    static constexpr std::uint32_t kMaxDword = 0xFFFFFFFF;
    std::uint32_t ReadIntervalTimeout = 0;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
};

// Modem status bits of QueryModemLines.
inline constexpr std::uint32_t kModemCtsOn = 0x10, kModemDsrOn = 0x20, kModemRingOn = 0x40,
                               kModemRlsdOn = 0x80;
// PurgeQueues flags.
inline constexpr std::uint32_t kPurgeTxAbort = 0x1, kPurgeRxAbort = 0x2, kPurgeTxClear = 0x4,
                               kPurgeRxClear = 0x8;

class CSerialException : public std::exception {
public:
    CSerialException(std::uint32_t errorCode, const char* operation)
        : m_nErrorCode(errorCode), m_operation(operation)
    {
    }

    // The system's text for the code, cut to maxChars - 1 characters and always terminated.
    // False, with an empty text, for a code the system has no text for.
    bool GetErrorMessage(char* text, unsigned maxChars, unsigned* helpContext = nullptr) const;
    const char* what() const noexcept override { return m_operation; }

    // The system error code (errno).
    std::uint32_t m_nErrorCode;
    // The operation that failed ("open", "write", ...).
    const char* m_operation;
};

// Throws CSerialException for `code`, or for errno when `code` is 0.
[[noreturn]] void RaiseSerialError(std::uint32_t code, const char* operation);

class CSerialPort {
public:
    CSerialPort() = default;
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens COMn (its device from the port map) for this program alone, then sets the line.
    // If setting the line fails the port stays open in the object.
    void Open(int port, std::uint32_t baudRate, SerialParity parity, std::uint8_t dataBits,
              SerialStopBits stopBits, SerialFlowControl flow, bool overlapped = false);
    void Close();
    void Attach(SerialHandle handle, bool overlapped = false);
    SerialHandle Detach();
    bool IsOpen() const { return m_hPort != kInvalidSerialHandle; }

    // Writes every byte and waits until the line has carried them, or raises ETIMEDOUT (after
    // discarding what is still queued) once 1.5 times the bytes' time on the line plus 2 s have
    // passed. Returns the byte count.
    std::uint32_t Write(const void* buffer, std::uint32_t count);
    // Called with (bytes written, total) while Write runs.
    void SetProgressHandler(std::function<void(long long, long long)> handler)
    {
        m_progress = std::move(handler);
    }

    void GetLineState(SerialLineState& dcb) const;
    void SetLineState(const SerialLineState& dcb) const;
    void GetPortConfig(SerialPortConfig& config) const;
    void SetPortConfig(const SerialPortConfig& config) const;
    // Reads the settings COMn has now without keeping it open; fails when there is no such port.
    static void QueryDefaultConfig(int port, SerialPortConfig& config);

    void BeginBreak() const;
    void EndBreak() const;
    void ReadLineErrors(std::uint32_t& errors) const;
    void ReadLineStatus(SerialLineStatus& status) const;
    std::uint32_t InputQueueLength() const;
    void QueryModemLines(std::uint32_t& status) const;
    void GetEventMask(std::uint32_t& mask) const;
    void SetEventMask(std::uint32_t mask);
    void FlushOutput() const;
    void PurgeQueues(std::uint32_t flags) const;
    void AbortPendingWrites() const { PurgeQueues(kPurgeTxAbort); }
    void DiscardOutput() const { PurgeQueues(kPurgeTxClear); }
    void DiscardInput() const { PurgeQueues(kPurgeRxClear); }
    void SetQueueSizes(std::uint32_t inputSize, std::uint32_t outputSize) const;
    void GetTimeouts(SerialTimeouts& timeouts) const;
    void SetTimeouts(const SerialTimeouts& timeouts);
    void SetNoWriteTimeouts();
    void SetNonBlockingReads();
    void SetNonBlockingTimeouts();

    // The time Write allows for `count` bytes at the given line settings, in milliseconds.
    static long long WriteDeadlineMs(std::uint32_t count, const SerialLineState& line);

private:
    SerialHandle m_hPort = kInvalidSerialHandle;
    bool m_bAsyncIo = false;
    // Kept by the object: Linux has no per-port event mask or time-out record.
    std::uint32_t m_eventMask = 0;
    SerialTimeouts m_timeouts;
    std::function<void(long long, long long)> m_progress;
};

// Open's changes to the line settings for its choices (the tables above); fields of other
// choices and everything else stay as the port reported them.
void ApplyOpenChoices(SerialLineState& dcb, std::uint32_t baudRate, SerialParity parity,
                      std::uint8_t dataBits, SerialStopBits stopBits, SerialFlowControl flow);
