#pragma once

#include <string>
#include <termios.h>

namespace tickerlux::test {

// Opens the virtual sign's device as a program delivering to a serial port would: raw, at the
// given speed and stop bits, writes whole transmissions and closes again.
class CDeviceWriter {
public:
    explicit CDeviceWriter(const std::string& device, speed_t speed = B9600, bool twoStopBits = false);
    ~CDeviceWriter();
    CDeviceWriter(const CDeviceWriter&) = delete;
    CDeviceWriter& operator=(const CDeviceWriter&) = delete;

    void Write(const std::string& bytes);
    int Fd() const { return m_fd; }

private:
    int m_fd = -1;
};

// Opens, writes `bytes` and closes.
void DeliverTo(const std::string& device, const std::string& bytes);

} // namespace tickerlux::test
