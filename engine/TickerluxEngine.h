#pragma once

#include "base/Failure.h"
#include "engine/Outcome.h"
#include "headlines/TimeLimits.h"
#include "link/Delivery.h"
#include "settings/CommSettings.h"
#include "settings/PortMap.h"

#include <chrono>
#include <cstddef>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

namespace tickerlux::settings {
class CTickerluxDoc;
} // namespace tickerlux::settings

namespace tickerlux::engine {

class IUserInterface;

// The update pipeline of the program, free of any GUI: it owns the page buffer, the sign line and
// the transmission buffer, and runs the fetch, extraction, encoding and delivery steps against
// one document, each step reading the document and calling the layer below (headlines/, sign/,
// link/). The desktop view and the CLI each own one.
class CTickerluxEngine {
public:
    static constexpr std::size_t kPageBufferSize = 200000;
    static constexpr std::size_t kMaxPageLength = kPageBufferSize - 1;
    static constexpr std::size_t kTransmissionBufferSize = 60033;

    CTickerluxEngine(settings::CTickerluxDoc& doc, IUserInterface& ui);
    ~CTickerluxEngine();
    CTickerluxEngine(const CTickerluxEngine&) = delete;
    CTickerluxEngine& operator=(const CTickerluxEngine&) = delete;

    // Page fetcher: downloads WebPath from WebServer into the page buffer and SourceText. A
    // failure is shown as the connection error and returned; a download abandoned because the
    // user asked to stop is returned without a word.
    base::Failure FetchPage();

    // Headline extractor: rebuilds the sign line from a fresh download; returns the download's
    // failure (the line is then empty).
    base::Failure BuildSignLine();

    // The three update commands. Each returns what it did; one that arrives while another
    // command runs (a timer tick or button press dispatched inside a message box or the USB pump)
    // does nothing and is Dropped.
    CommandOutcome OnUpdateSignNow();
    CommandOutcome OnClearSign();
    CommandOutcome OnUpdateSourceOnly();
    // "Update Sign Now" without the download: delivers `line` (Windows-1252) as the sign line.
    CommandOutcome OnSendLine(const std::string& line);
    bool IsBusy() const { return m_busy; }

    // Sign text encoder: the write-text transmission for a NUL-terminated sign line, with the
    // document's ColorIndex and Condensed. `buffer` holds kTransmissionBufferSize bytes.
    void BuildTextTransmission(unsigned char* buffer, int& length, const char* line) const;

    // Packet framing.
    void BuildClearTransmission(unsigned char* buffer, int& length) const;
    base::Failure SendMemoryConfig(int textTransmissionLength);
    base::Failure SendRunSequence();
    int GetSignPort() const;

    // Sign link: delivers one whole transmission over the document's connection kind.
    base::Failure SendToSign(int port, const unsigned char* data, int length);
    // USB link: hands the transmission to libbetabriteusb.so, showing each problem it meets.
    base::Failure SendViaUsb(const unsigned char* data, int length);

    // Replaces the real link for tests that check what would be delivered.
    using DeliveryHook = std::function<void(int port, const unsigned char* data, int length)>;
    void SetDeliveryHook(DeliveryHook hook) { m_deliveryHook = std::move(hook); }

    // The clock of the time stamp in the sign line (tests fix it).
    using Clock = std::function<std::time_t()>;
    void SetClock(Clock clock) { m_clock = std::move(clock); }
    // How long a download may take, and the time a serial write may take beyond 1.5 times its
    // time on the line (tests shorten them).
    void SetFetchTimeLimits(const headlines::TimeLimits& limits) { m_fetchTimeLimits = limits; }
    void SetSerialDeadlineSlack(std::chrono::milliseconds slack) { m_serialSlack = slack; }
    // Headline cleanup (the per-user HeadlineCleanup switch, on unless the front end says
    // otherwise): the page is read in its own charset and converted to the code page, and each
    // headline and the leading comment are cleaned and kept to what the sign shows. Off, the
    // page's bytes go into the line as sent.
    void SetHeadlineCleanup(bool on) { m_headlineCleanup = on; }
    // The port map the serial deliveries resolve COMn with (none: COMn is /dev/ttyS(n-1)), as the
    // front end loaded it from the per-user store for the command.
    void SetPortMap(settings::CPortMap ports) { m_ports = std::move(ports); }
    bool HeadlineCleanup() const { return m_headlineCleanup; }

    const std::string& SignLine() const { return m_signLine; }
    const char* PageBuffer() const { return m_pageBuffer.get(); }
    const unsigned char* Transmission() const { return m_transmission.get(); }
    int TransmissionLength() const { return m_transmissionLength; }

private:
    class BusyScope;
    // The steps "Update Sign Now" and OnSendLine share: encode the sign line, deliver memory
    // configuration, write text and run sequence, refresh the views.
    void DeliverSignLine(CommandOutcome& outcome);
    base::Failure SendOverSerial(int port, const unsigned char* data, int length);
    link::Progress Progress();

    settings::CTickerluxDoc& m_doc;
    IUserInterface& m_ui;
    std::unique_ptr<char[]> m_pageBuffer;
    std::string m_signLine;
    std::unique_ptr<unsigned char[]> m_transmission;
    int m_transmissionLength = 0;
    bool m_busy = false;
    DeliveryHook m_deliveryHook;
    Clock m_clock;
    headlines::TimeLimits m_fetchTimeLimits;
    std::chrono::milliseconds m_serialSlack = link::kSerialDeadlineSlack;
    bool m_headlineCleanup = true;
    settings::CPortMap m_ports;
};

} // namespace tickerlux::engine
