// CSerialPort on a POSIX terminal device (Linux termios through the termios2 ioctls, which also
// carry speeds that have no B-code).
#include "link/SerialLineFlags.h"
#include "link/SerialPort.h"

#include "settings/PortMap.h"

#include <algorithm>
#include <asm/termbits.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Requests that a device without modem lines or break (a pseudo-terminal) does not support.
bool IsUnsupported(int error)
{
    return error == ENOTTY || error == EINVAL || error == EOPNOTSUPP;
}

void ReadTerminal(int fd, termios2& tio, const char* operation)
{
    if (ioctl(fd, TCGETS2, &tio) != 0)
        RaiseSerialError(0, operation);
}

serialposix::TerminalFlags ToFlags(const termios2& tio)
{
    serialposix::TerminalFlags flags;
    flags.iflag = tio.c_iflag;
    flags.oflag = tio.c_oflag;
    flags.cflag = tio.c_cflag;
    flags.lflag = tio.c_lflag;
    flags.vstart = tio.c_cc[VSTART];
    flags.vstop = tio.c_cc[VSTOP];
    flags.vmin = tio.c_cc[VMIN];
    flags.vtime = tio.c_cc[VTIME];
    flags.speed = tio.c_ospeed;
    return flags;
}

void FromFlags(const serialposix::TerminalFlags& flags, termios2& tio)
{
    tio.c_iflag = flags.iflag;
    tio.c_oflag = flags.oflag;
    tio.c_cflag = flags.cflag;
    tio.c_lflag = flags.lflag;
    tio.c_cc[VSTART] = flags.vstart;
    tio.c_cc[VSTOP] = flags.vstop;
    tio.c_cc[VMIN] = flags.vmin;
    tio.c_cc[VTIME] = flags.vtime;
    tio.c_ispeed = flags.speed;
    tio.c_ospeed = flags.speed;
}

int QueuedOutput(int fd)
{
    int queued = 0;
    if (ioctl(fd, TIOCOUTQ, &queued) != 0)
        RaiseSerialError(0, "write");
    return queued;
}

} // namespace

void RaiseSerialError(std::uint32_t code, const char* operation)
{
    throw CSerialException(code != 0 ? code : static_cast<std::uint32_t>(errno), operation);
}

bool CSerialException::GetErrorMessage(char* text, unsigned maxChars, unsigned* helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    const char* message = strerrordesc_np(static_cast<int>(m_nErrorCode));
    if (maxChars == 0)
        return message != nullptr;
    if (!message) {
        text[0] = '\0';
        return false;
    }
    const std::size_t length = std::min<std::size_t>(std::strlen(message), maxChars - 1);
    std::memcpy(text, message, length);
    text[length] = '\0';
    return true;
}

CSerialPort::~CSerialPort()
{
    Close();
}

void CSerialPort::Open(int port, std::uint32_t baudRate, SerialParity parity, std::uint8_t dataBits,
                       SerialStopBits stopBits, SerialFlowControl flow, bool overlapped)
{
    Close();
    const std::string path = portmap::DevicePathForComPort(port);
    // Non-blocking, so that neither the open nor a write ever waits without a limit.
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        RaiseSerialError(0, "open");
    // The lock is what keeps other openers out for root, whom TIOCEXCL lets through.
    int error = 0;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        error = errno == EWOULDBLOCK ? EBUSY : errno;
    else if (ioctl(fd, TIOCEXCL) != 0)
        error = errno;
    if (error != 0) {
        close(fd);
        RaiseSerialError(static_cast<std::uint32_t>(error), "open");
    }
    m_hPort = fd;
    m_bAsyncIo = overlapped;
    SerialLineState dcb;
    GetLineState(dcb);
    ApplyOpenChoices(dcb, baudRate, parity, dataBits, stopBits, flow);
    SetLineState(dcb);
}

void CSerialPort::Close()
{
    if (m_hPort == kInvalidSerialHandle)
        return;
    ioctl(m_hPort, TIOCNXCL);
    close(m_hPort);
    m_hPort = kInvalidSerialHandle;
    m_bAsyncIo = false;
}

// Linux needs no event object for a port: attaching adopts the descriptor (and its lock).
void CSerialPort::Attach(SerialHandle handle, bool overlapped)
{
    Close();
    m_hPort = handle;
    m_bAsyncIo = overlapped;
}

SerialHandle CSerialPort::Detach()
{
    const SerialHandle handle = m_hPort;
    m_hPort = kInvalidSerialHandle;
    return handle;
}

std::uint32_t CSerialPort::Write(const void* buffer, std::uint32_t count)
{
    SerialLineState line;
    GetLineState(line);
    const auto deadline = Clock::now() + std::chrono::milliseconds(WriteDeadlineMs(count, line));
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    auto abandon = [this] {
        // Only an abandoned transmission is discarded, so that closing does not wait for it.
        ioctl(m_hPort, TCFLSH, TCOFLUSH);
        RaiseSerialError(ETIMEDOUT, "write");
    };
    auto msLeft = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
            .count();
    };

    std::uint32_t done = 0;
    while (done < count) {
        const ssize_t put = write(m_hPort, bytes + done, count - done);
        if (put > 0) {
            done += static_cast<std::uint32_t>(put);
            if (m_progress)
                m_progress(done, count);
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno != EAGAIN)
            RaiseSerialError(0, "write");
        const long long left = msLeft();
        if (left <= 0)
            abandon();
        pollfd waitFor{m_hPort, POLLOUT, 0};
        if (poll(&waitFor, 1, static_cast<int>(std::min<long long>(left, 1000))) < 0 &&
            errno != EINTR)
            RaiseSerialError(0, "write");
    }

    // Wait for the driver's queue to empty, in steps of about the time the queue needs.
    const double msPerByte = static_cast<double>(WriteDeadlineMs(1000, line) - 2000) / 1500.0;
    for (int queued = QueuedOutput(m_hPort); queued > 0; queued = QueuedOutput(m_hPort)) {
        const long long left = msLeft();
        if (left <= 0)
            abandon();
        const auto step = std::clamp<long long>(static_cast<long long>(queued * msPerByte), 1,
                                                std::min<long long>(left, 50));
        std::this_thread::sleep_for(std::chrono::milliseconds(step));
    }
    // The queue is empty; this waits only for the last character to leave the transmitter.
    if (ioctl(m_hPort, TCSBRK, 1) != 0)
        RaiseSerialError(0, "write");
    return done;
}

void CSerialPort::GetLineState(SerialLineState& dcb) const
{
    termios2 tio{};
    ReadTerminal(m_hPort, tio, "read line settings");
    dcb = serialposix::FromTerminalFlags(ToFlags(tio));
}

void CSerialPort::SetLineState(const SerialLineState& dcb) const
{
    termios2 tio{};
    ReadTerminal(m_hPort, tio, "set line settings");
    serialposix::TerminalFlags flags = ToFlags(tio);
    if (!serialposix::ToTerminalFlags(dcb, flags))
        RaiseSerialError(EINVAL, "set line settings");
    FromFlags(flags, tio);
    if (ioctl(m_hPort, TCSETS2, &tio) != 0)
        RaiseSerialError(0, "set line settings");
}

void CSerialPort::GetPortConfig(SerialPortConfig& config) const
{
    GetLineState(config.dcb);
}

void CSerialPort::SetPortConfig(const SerialPortConfig& config) const
{
    SetLineState(config.dcb);
}

void CSerialPort::QueryDefaultConfig(int port, SerialPortConfig& config)
{
    const std::string path = portmap::DevicePathForComPort(port);
    const int fd = open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        RaiseSerialError(0, "open");
    termios2 tio{};
    const int result = ioctl(fd, TCGETS2, &tio);
    const int error = errno;
    close(fd);
    if (result != 0)
        RaiseSerialError(static_cast<std::uint32_t>(error), "open");
    config.dcb = serialposix::FromTerminalFlags(ToFlags(tio));
}

void CSerialPort::BeginBreak() const
{
    if (ioctl(m_hPort, TIOCSBRK) != 0 && !IsUnsupported(errno))
        RaiseSerialError(0, "break");
}

void CSerialPort::EndBreak() const
{
    if (ioctl(m_hPort, TIOCCBRK) != 0 && !IsUnsupported(errno))
        RaiseSerialError(0, "break");
}

// Linux latches no line-error word to read and clear (the driver counts errors instead): the
// flags are always 0, once the port has answered.
void CSerialPort::ReadLineErrors(std::uint32_t& errors) const
{
    termios2 tio{};
    ReadTerminal(m_hPort, tio, "read line errors");
    errors = 0;
}

void CSerialPort::ReadLineStatus(SerialLineStatus& status) const
{
    int input = 0;
    int output = 0;
    if (ioctl(m_hPort, TIOCINQ, &input) != 0 || ioctl(m_hPort, TIOCOUTQ, &output) != 0)
        RaiseSerialError(0, "read line status");
    status.cbInQue = static_cast<std::uint32_t>(input);
    status.cbOutQue = static_cast<std::uint32_t>(output);
}

void CSerialPort::QueryModemLines(std::uint32_t& status) const
{
    int lines = 0;
    status = 0;
    if (ioctl(m_hPort, TIOCMGET, &lines) != 0) {
        if (IsUnsupported(errno))
            return;
        RaiseSerialError(0, "read modem lines");
    }
    if (lines & TIOCM_CTS)
        status |= kModemCtsOn;
    if (lines & TIOCM_DSR)
        status |= kModemDsrOn;
    if (lines & TIOCM_RNG)
        status |= kModemRingOn;
    if (lines & TIOCM_CD)
        status |= kModemRlsdOn;
}

// Linux keeps no event mask on a port; the object keeps it once the port has answered. Nothing
// here waits for events.
void CSerialPort::GetEventMask(std::uint32_t& mask) const
{
    termios2 tio{};
    ReadTerminal(m_hPort, tio, "read event mask");
    mask = m_eventMask;
}

void CSerialPort::SetEventMask(std::uint32_t mask)
{
    termios2 tio{};
    ReadTerminal(m_hPort, tio, "set event mask");
    m_eventMask = mask;
}

// tcdrain: waits until everything queued has been sent.
void CSerialPort::FlushOutput() const
{
    if (ioctl(m_hPort, TCSBRK, 1) != 0)
        RaiseSerialError(0, "flush");
}

// Linux has no pending asynchronous transfers to abort: the abort flags only check the port.
void CSerialPort::PurgeQueues(std::uint32_t flags) const
{
    termios2 tio{};
    ReadTerminal(m_hPort, tio, "purge");
    if ((flags & kPurgeTxClear) && ioctl(m_hPort, TCFLSH, TCOFLUSH) != 0)
        RaiseSerialError(0, "purge");
    if ((flags & kPurgeRxClear) && ioctl(m_hPort, TCFLSH, TCIFLUSH) != 0)
        RaiseSerialError(0, "purge");
}

// The kernel's queues have fixed sizes: this only checks the port.
void CSerialPort::SetQueueSizes(std::uint32_t /*inputSize*/, std::uint32_t /*outputSize*/) const
{
    termios2 tio{};
    ReadTerminal(m_hPort, tio, "set queue sizes");
}

// Terminals have no write time-outs and this port's reads never block (O_NONBLOCK); Write keeps
// its own deadline. The record is kept by the object, once the port has answered.
void CSerialPort::GetTimeouts(SerialTimeouts& timeouts) const
{
    termios2 tio{};
    ReadTerminal(m_hPort, tio, "read time-outs");
    timeouts = m_timeouts;
}

void CSerialPort::SetTimeouts(const SerialTimeouts& timeouts)
{
    termios2 tio{};
    ReadTerminal(m_hPort, tio, "set time-outs");
    m_timeouts = timeouts;
}
