#include "link/Transports.h"

#include "link/LineSettingsChoices.h"
#include "link/SerialPort.h"

#include <algorithm>
#include <cerrno>
#include <thread>

namespace tickerlux::link {

namespace {

using Clock = std::chrono::steady_clock;
// How often an opening that waits for a held port tries again.
constexpr std::chrono::milliseconds kRetryStep{50};

// "COM3 (/dev/pts/4): open" and "Device or resource busy".
base::Failure FailureOf(const SignPort& port, const CSerialException& failure)
{
    return {base::FailureKindForErrno(failure.Error()), port.Name() + ": " + failure.Operation(),
            failure.Message()};
}

// Held open from the opening to Close: every transmission of a command goes out before another
// program can have the port. Input is discarded before each transmission, and nothing after a
// write discards output, which would drop the transmission's tail.
class CSerialTransport : public CTransport {
public:
    CSerialTransport(const SignPort& port, const LineSettings& line,
                     const ConnectionOptions& options)
        : m_port(port), m_line(line), m_options(options)
    {
    }

    // Opens the port, waiting while another program holds it.
    void Open()
    {
        const auto giveUp = Clock::now() + m_options.portWait;
        bool told = false;
        for (;;) {
            try {
                m_serial.Open(m_port.devicePath, m_line);
                return;
            } catch (const CSerialException& failure) {
                if (failure.Error() != EBUSY)
                    throw;
                if (!told && m_options.waiting)
                    m_options.waiting(m_port.Name());
                told = true;
                if (Clock::now() >= giveUp)
                    throw;
                if (m_options.abandon && m_options.abandon())
                    throw CSerialException(ECANCELED, "open");
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(giveUp - Clock::now());
            std::this_thread::sleep_for(std::clamp(left, std::chrono::milliseconds(0), kRetryStep));
        }
    }

    DeliveryResult Send(const unsigned char* data, std::size_t length,
                        const Progress& progress) override
    {
        try {
            m_serial.DiscardInput();
            m_serial.Write(data, length,
                           CSerialPort::WriteDeadline(length, m_line, m_options.serialSlack),
                           progress, m_options.abandon);
        } catch (const CSerialException& failure) {
            return {FailureOf(m_port, failure), {}};
        }
        return {};
    }

    DeliveryResult Close() override
    {
        m_serial.Close();
        return {};
    }

private:
    SignPort m_port;
    LineSettings m_line;
    ConnectionOptions m_options;
    CSerialPort m_serial;
};

} // namespace

std::unique_ptr<CTransport> OpenSerial(const settings::CommSettings& settings,
                                       const SignPort& port, const ConnectionOptions& options,
                                       DeliveryResult& opening)
{
    auto transport = std::make_unique<CSerialTransport>(port, LineSettingsFor(settings), options);
    try {
        transport->Open();
    } catch (const CSerialException& failure) {
        opening.failure = FailureOf(port, failure);
        return nullptr;
    }
    return transport;
}

} // namespace tickerlux::link
