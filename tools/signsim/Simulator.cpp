#include "tools/signsim/Simulator.h"

#include "tools/signsim/Pty.h"
#include "tools/signsim/Report.h"
#include "tools/signsim/StopSignals.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>

namespace tickerlux::signsim {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::size_t kChunk = 4096;
// After the last writer has closed the device, bytes it wrote may still be on their way through
// the kernel; a transmission left open this long after that was cut short.
constexpr milliseconds kCloseGrace{500};
// Paced reads wake this much after the next byte is due, to take a few at a time.
constexpr milliseconds kPacedWakeSlack{9};

int MillisecondsUntil(Clock::time_point when, Clock::time_point now)
{
    if (when <= now)
        return 0;
    const auto wait = std::chrono::ceil<milliseconds>(when - now).count();
    return static_cast<int>(std::min<long long>(wait, 60000));
}

} // namespace

CSimulator::CSimulator(CPty& pty, IReport& report, const CStopSignals& stop,
                       std::optional<long> count, bool lineSpeed)
    : m_pty(pty), m_report(report), m_stop(stop), m_count(count), m_lineSpeed(lineSpeed),
      m_shown(m_state.Shown())
{
}

double CSimulator::PacedRate() const
{
    if (!m_lineSpeed)
        return 0;
    const LineSettings line = m_pty.Line();
    if (line.baud <= 0 || line.bitsPerCharacter <= 0)
        return 0;
    return static_cast<double>(line.baud) / line.bitsPerCharacter;
}

bool CSimulator::Handle(const sign::DecodedTransmission& transmission)
{
    ++m_number;
    TransmissionReport report;
    report.number = static_cast<int>(m_number);
    report.transmission = &transmission;
    report.line = m_pty.Line();
    report.errors = transmission.errors;
    for (std::string& error : m_state.Apply(transmission))
        report.errors.push_back(std::move(error));
    if (!m_report.Transmission(report))
        return false;
    const Display shown = m_state.Shown();
    if (shown == m_shown)
        return true;
    m_shown = shown;
    return m_report.DisplayChanged(shown);
}

CSimulator::Outcome CSimulator::Run()
{
    unsigned char buffer[kChunk];
    bool unfinished = false;   // bytes fed since the decoder was last finished
    Clock::time_point lastData = Clock::now();

    for (;;) {
        Clock::time_point now = Clock::now();
        const double rate = PacedRate();
        std::size_t allowance = kChunk;
        int timeout = -1;
        if (rate > 0) {
            allowance = std::min(kChunk, m_pacer.Allowance(now, rate));
            if (allowance == 0)
                timeout = MillisecondsUntil(m_pacer.NextByteAt(now, rate), now) +
                          static_cast<int>(kPacedWakeSlack.count());
        }
        // While pacing holds reads back, its own wake-up comes first.
        if (unfinished && allowance > 0 && !m_pty.HasOtherOpeners()) {
            const int grace = MillisecondsUntil(lastData + kCloseGrace, now);
            timeout = timeout < 0 ? grace : std::min(timeout, grace);
        }

        pollfd fds[3] = {{m_stop.Fd(), POLLIN, 0},
                         {m_pty.WatchFd(), POLLIN, 0},
                         {m_pty.HostFd(), static_cast<short>(allowance > 0 ? POLLIN : 0), 0}};
        if (poll(fds, 3, timeout) < 0 && errno != EINTR)
            return Outcome::Stopped;
        if (m_stop.Arrived()) {
            if (const auto last = m_decoder.Finish(); last && !Handle(*last))
                return Outcome::OutputFailed;
            return Outcome::Stopped;
        }

        std::size_t got = 0;
        if (allowance > 0)
            got = m_pty.Read(buffer, allowance);
        now = Clock::now();
        if (got > 0) {
            if (rate > 0)
                m_pacer.Took(got, now, rate);
            lastData = now;
            unfinished = true;
        }
        // Taken after the read: an opener's close that came before these bytes is then known
        // before they are reported.
        m_pty.TakeOpenCloseEvents();

        if (got > 0) {
            for (const sign::DecodedTransmission& transmission : m_decoder.Feed(buffer, got)) {
                if (!Handle(transmission))
                    return Outcome::OutputFailed;
                if (CountReached())
                    return Outcome::CountReached;
            }
        }

        if (unfinished && !m_pty.HasOtherOpeners() && !m_pty.HasWaitingBytes() &&
            now - lastData >= kCloseGrace) {
            unfinished = false;
            const std::optional<sign::DecodedTransmission> cut = m_decoder.Finish();
            if (cut) {
                if (!Handle(*cut))
                    return Outcome::OutputFailed;
                if (CountReached())
                    return Outcome::CountReached;
            }
        }
    }
}

} // namespace tickerlux::signsim
