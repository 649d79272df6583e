// CSerialPort on a Linux terminal device, through the termios2 ioctls (which also carry speeds
// that have no B-code).
#include "link/SerialLineFlags.h"
#include "link/SerialPort.h"

#include <algorithm>
#include <asm/termbits.h>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace tickerlux::link {

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void Raise(const char* operation, int error = errno)
{
    throw CSerialException(error, operation);
}

int QueuedOutput(int fd)
{
    int queued = 0;
    if (ioctl(fd, TIOCOUTQ, &queued) != 0)
        Raise("write");
    return queued;
}

void SetLineSettings(int fd, const LineSettings& line)
{
    termios2 tio{};
    if (ioctl(fd, TCGETS2, &tio) != 0)
        Raise("set line settings");
    link::TerminalFlags flags{tio.c_iflag, tio.c_oflag, tio.c_cflag, tio.c_lflag,
                                     tio.c_ospeed};
    if (!link::ToTerminalFlags(line, flags))
        Raise("set line settings", EINVAL);
    tio.c_iflag = flags.iflag;
    tio.c_oflag = flags.oflag;
    tio.c_cflag = flags.cflag;
    tio.c_lflag = flags.lflag;
    tio.c_ispeed = flags.speed;
    tio.c_ospeed = flags.speed;
    if (ioctl(fd, TCSETS2, &tio) != 0)
        Raise("set line settings");
}

} // namespace

CSerialPort::~CSerialPort()
{
    Close();
}

void CSerialPort::Open(const std::string& path, const LineSettings& line)
{
    Close();
    // Non-blocking, so that neither the open nor a write ever waits without a limit.
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        Raise("open");
    // The lock is what keeps other openers out for root, whom TIOCEXCL lets through.
    int error = 0;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        error = errno == EWOULDBLOCK ? EBUSY : errno;
    else if (ioctl(fd, TIOCEXCL) != 0)
        error = errno;
    if (error != 0) {
        close(fd);
        Raise("open", error);
    }
    m_fd = fd;
    SetLineSettings(m_fd, line);
}

void CSerialPort::Close()
{
    if (m_fd < 0)
        return;
    ioctl(m_fd, TIOCNXCL);
    close(m_fd);
    m_fd = -1;
}

void CSerialPort::DiscardInput() const
{
    if (ioctl(m_fd, TCFLSH, TCIFLUSH) != 0)
        Raise("discard input");
}

void CSerialPort::Write(const void* data, std::size_t count, std::chrono::milliseconds deadline,
                        const Progress& progress, const std::function<bool()>& abandon) const
{
    const auto end = Clock::now() + deadline;
    const auto* bytes = static_cast<const unsigned char*>(data);
    auto giveUp = [this](int error) {
        // Only an abandoned transmission is discarded, so that closing does not wait for it.
        ioctl(m_fd, TCFLSH, TCOFLUSH);
        Raise("write", error);
    };
    // A stop asked for is heard within this long.
    constexpr long long kStepMs = 50;
    auto msLeft = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    };

    std::size_t done = 0;
    while (done < count) {
        const ssize_t put = write(m_fd, bytes + done, count - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
            if (progress)
                progress(static_cast<long long>(done), static_cast<long long>(count));
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno != EAGAIN)
            Raise("write");
        const long long left = msLeft();
        if (left <= 0)
            giveUp(ETIMEDOUT);
        if (abandon && abandon())
            giveUp(ECANCELED);
        pollfd waitFor{m_fd, POLLOUT, 0};
        if (poll(&waitFor, 1, static_cast<int>(std::min<long long>(left, kStepMs))) < 0 &&
            errno != EINTR)
            Raise("write");
    }

    // Wait for the driver's queue to empty, in short steps.
    while (QueuedOutput(m_fd) > 0) {
        const long long left = msLeft();
        if (left <= 0)
            giveUp(ETIMEDOUT);
        if (abandon && abandon())
            giveUp(ECANCELED);
        std::this_thread::sleep_for(std::chrono::milliseconds(std::clamp<long long>(left, 1, 10)));
    }
    // The queue is empty; this waits only for the last character to leave the transmitter.
    if (ioctl(m_fd, TCSBRK, 1) != 0)
        Raise("write");
}

} // namespace tickerlux::link
