#include "tools/signsim/Pty.h"

#include "tools/signsim/TerminalLine.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace tickerlux::signsim {

namespace {

[[noreturn]] void ThrowErrno(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

// A pseudo-terminal takes the speed and stop bits it is given but forces 8 data bits and no
// parity; other devices may not. Ask the device itself rather than assume.
bool ForcesEightNone(int fd)
{
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    termios probe = settings;
    probe.c_cflag = (probe.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | CS7 | PARENB;
    // The C library may report a partly applied change as a failure (EINVAL): the settings read
    // back are what counts.
    tcsetattr(fd, TCSANOW, &probe);
    if (tcgetattr(fd, &probe) != 0)
        return false;
    return (probe.c_cflag & CSIZE) != CS7 || !(probe.c_cflag & PARENB);
}

// A sign's port out of the box: raw bytes at 9600 bits per second, so that a writer that sets
// nothing is neither translated nor echoed.
void MakeRaw(int fd)
{
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        ThrowErrno("tcgetattr");
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    settings.c_cflag |= CREAD | CLOCAL;
    if (tcsetattr(fd, TCSANOW, &settings) != 0)
        ThrowErrno("tcsetattr");
}

} // namespace

CPty::CPty()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0)
        ThrowErrno("posix_openpt");
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        const int error = errno;
        close(m_master);
        throw std::system_error(error, std::generic_category(), "grantpt/unlockpt");
    }
    char name[256] = {};
    if (ptsname_r(m_master, name, sizeof name) != 0) {
        const int error = errno;
        close(m_master);
        throw std::system_error(error, std::generic_category(), "ptsname_r");
    }
    m_path = name;
    const int flags = fcntl(m_master, F_GETFL);
    fcntl(m_master, F_SETFL, flags | O_NONBLOCK);

    m_slave = open(m_path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        const int error = errno;
        close(m_master);
        throw std::system_error(error, std::generic_category(), "open " + m_path);
    }
    m_forcesEightNone = ForcesEightNone(m_slave);
    MakeRaw(m_slave);

    // Opened last, so that the simulator's own opening is not counted.
    m_watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch < 0 || inotify_add_watch(m_watch, m_path.c_str(), IN_OPEN | IN_CLOSE) < 0) {
        const int error = errno;
        if (m_watch >= 0)
            close(m_watch);
        close(m_slave);
        close(m_master);
        throw std::system_error(error, std::generic_category(), "inotify " + m_path);
    }
}

CPty::~CPty()
{
    close(m_watch);
    close(m_slave);
    close(m_master);
}

std::size_t CPty::Read(unsigned char* buffer, std::size_t max)
{
    for (;;) {
        const ssize_t got = read(m_master, buffer, max);
        if (got > 0)
            return static_cast<std::size_t>(got);
        if (got < 0 && errno == EINTR)
            continue;
        // EAGAIN: nothing waits. EIO cannot come while the simulator holds the device open.
        return 0;
    }
}

bool CPty::HasWaitingBytes() const
{
    int waiting = 0;
    return ioctl(m_master, FIONREAD, &waiting) == 0 && waiting > 0;
}

void CPty::TakeOpenCloseEvents()
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = read(m_watch, buffer, sizeof buffer);
        if (got <= 0) {
            if (got < 0 && errno == EINTR)
                continue;
            break;
        }
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & IN_OPEN)
                ++m_openers;
            if (event->mask & (IN_CLOSE | IN_Q_OVERFLOW)) {
                m_openers = m_openers > 0 && !(event->mask & IN_Q_OVERFLOW) ? m_openers - 1 : 0;
                // At once, not after the whole batch: the next opener may already be in it.
                if (m_openers == 0)
                    ioctl(m_slave, TIOCNXCL);
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

LineSettings CPty::Line() const
{
    LineSettings line;
    TerminalLine terminal;
    if (!ReadTerminalLine(m_slave, terminal))
        return line;
    line.baud = terminal.baud;
    line.stopBits = terminal.stopBits;
    if (!m_forcesEightNone) {
        line.dataBits = terminal.dataBits;
        if (!terminal.parity)
            line.parity = "none";
        else if (terminal.stickParity)
            line.parity = terminal.oddParity ? "mark" : "space";
        else
            line.parity = terminal.oddParity ? "odd" : "even";
    }
    line.bitsPerCharacter = 1 + terminal.dataBits + (terminal.parity ? 1 : 0) + terminal.stopBits;
    return line;
}

} // namespace tickerlux::signsim
