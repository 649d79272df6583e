#include "tests/tools/DeviceWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace tickerlux::test {

CDeviceWriter::CDeviceWriter(const std::string& device, speed_t speed, bool twoStopBits)
{
    m_fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0)
        throw std::runtime_error("cannot open " + device);
    termios settings{};
    tcgetattr(m_fd, &settings);
    cfmakeraw(&settings);
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    if (twoStopBits)
        settings.c_cflag |= CSTOPB;
    else
        settings.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
    if (tcsetattr(m_fd, TCSANOW, &settings) != 0)
        throw std::runtime_error("cannot set the line of " + device);
}

CDeviceWriter::~CDeviceWriter()
{
    close(m_fd);
}

void CDeviceWriter::Write(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(m_fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            throw std::runtime_error("write to the virtual sign failed");
        done += static_cast<std::size_t>(wrote);
    }
}

void DeliverTo(const std::string& device, const std::string& bytes)
{
    CDeviceWriter(device).Write(bytes);
}

} // namespace tickerlux::test
