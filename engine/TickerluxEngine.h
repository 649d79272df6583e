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
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tickerlux::settings {
class CTickerluxDoc;
} // namespace tickerlux::settings

namespace tickerlux::engine {

class IUserInterface;

// The bytes of one whole transmission.
using Transmission = std::vector<unsigned char>;

// The update pipeline of the program, free of any GUI: it owns the page, the sign line and the
// transmission, and runs the fetch, extraction, encoding and delivery steps against one
// document, each step reading the document and calling the layer below (headlines/, sign/,
// link/). A command holds the sign's connection from its first transmission to its last, so its
// transmissions reach the sign as one unit.
class CTickerluxEngine {
public:
    // A page keeps at most this many bytes.
    static constexpr std::size_t kMaxPageLength = 199999;

    // Text in the code page as the sign shows it: each byte that the sign's table lacks folded
    // to its plain spelling, as the sign line's headlines and comment are.
    static std::string ShownOnSign(std::string_view text);

    CTickerluxEngine(settings::CTickerluxDoc& doc, IUserInterface& ui);
    ~CTickerluxEngine();
    CTickerluxEngine(const CTickerluxEngine&) = delete;
    CTickerluxEngine& operator=(const CTickerluxEngine&) = delete;

    // Page fetcher: downloads WebPath from WebServer into the page and SourceText, up to
    // kMaxPageLength bytes (headlines::kMaxFeedLength when the headlines are a feed's items). A
    // failure is shown as the connection error and returned; a download abandoned because the
    // user asked to stop is returned without a word.
    base::Failure FetchPage();

    // Headline extractor: rebuilds the sign line from a fresh download, its headlines cut
    // between the markers or, for HeadlineSource kHeadlinesFromFeedItems, the titles of the
    // feed's items; returns the download's failure (the line is then empty).
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

    // Sign text encoder: the write-text transmission for a sign line (up to its first NUL), with
    // the document's ColorIndex and Condensed.
    Transmission BuildTextTransmission(const std::string& line) const;

    // Packet framing.
    Transmission BuildClearTransmission() const;
    base::Failure SendMemoryConfig(std::size_t textTransmissionLength);
    base::Failure SendRunSequence();
    // The document's COM port (1 for a number below 1) and the device it names, resolved once
    // per command.
    link::SignPort GetSignPort() const;

    // Sign link: delivers one whole transmission over the document's connection kind, on the
    // command's connection (or, outside a command, on one of its own).
    base::Failure SendToSign(const link::SignPort& port, const Transmission& transmission);
    // USB link: hands one transmission to libbetabriteusb.so on a connection of its own,
    // showing each problem it meets.
    base::Failure SendViaUsb(const Transmission& transmission);

    // Replaces the real link for tests that check what would be delivered.
    using DeliveryHook = std::function<void(const link::SignPort& port, const Transmission&)>;
    void SetDeliveryHook(DeliveryHook hook) { m_deliveryHook = std::move(hook); }

    // The clock of the time stamp in the sign line (tests fix it).
    using Clock = std::function<std::time_t()>;
    void SetClock(Clock clock) { m_clock = std::move(clock); }
    // How long a download may take, the time a serial write may take beyond 1.5 times its time
    // on the line, and how long a delivery waits for a port another program holds (tests
    // shorten them).
    void SetFetchTimeLimits(const headlines::TimeLimits& limits) { m_fetchTimeLimits = limits; }
    // Certificate authorities to trust instead of the system's, in a PEM file (tests).
    void SetCertificateAuthorities(std::string caFile) { m_caFile = std::move(caFile); }
    void SetSerialDeadlineSlack(std::chrono::milliseconds slack) { m_serialSlack = slack; }
    void SetPortWaitLimit(std::chrono::milliseconds limit) { m_portWait = limit; }
    // COMn's device as the front end resolved it; empty (the default): the port map's entry.
    void SetDevicePath(std::string path) { m_devicePath = std::move(path); }
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
    // The page as downloaded, every byte; and as text, up to its first NUL byte, as the form
    // and the extractor see it.
    const std::string& Page() const { return m_page; }
    std::string_view PageText() const;
    const Transmission& LastTransmission() const { return m_transmission; }

private:
    class BusyScope;
    class SignScope;
    // The steps "Update Sign Now" and OnSendLine share: encode the sign line, deliver memory
    // configuration, write text and run sequence, refresh the views.
    void DeliverSignLine(CommandOutcome& outcome);
    // Opens the connection for `port` when none is held.
    link::CSignConnection& Connection(const link::SignPort& port);
    // Closes the held connection and tells the user what it met: USB's problems, then the
    // pump, then each failure once. Returns the failure of closing (USB's close missing).
    base::Failure CloseConnection();
    void ShowUsbProblems(const std::vector<base::Failure>& problems);
    link::Progress Progress();
    // The titles of the downloaded feed's items, each cleaned and folded for the sign whatever
    // the headline cleanup switch says (a feed parser decodes them anyway).
    std::vector<std::string> FeedHeadlines() const;

    settings::CTickerluxDoc& m_doc;
    IUserInterface& m_ui;
    std::string m_page;
    std::string m_download;  // the page's bytes as sent, which a feed is read from
    std::string m_signLine;
    Transmission m_transmission;
    bool m_busy = false;
    // The port of the command under way, which holds the connection from its first
    // transmission to its last.
    std::optional<link::SignPort> m_commandPort;
    std::unique_ptr<link::CSignConnection> m_connection;
    std::vector<base::Failure> m_problems;  // USB's, shown when the connection closes
    std::vector<base::Failure> m_failures;  // the deliveries', told when it closes
    DeliveryHook m_deliveryHook;
    Clock m_clock;
    headlines::TimeLimits m_fetchTimeLimits;
    std::string m_caFile;
    std::chrono::milliseconds m_serialSlack = link::kSerialDeadlineSlack;
    std::chrono::milliseconds m_portWait = link::kPortWaitLimit;
    std::string m_devicePath;
    bool m_headlineCleanup = true;
    settings::CPortMap m_ports;
};

} // namespace tickerlux::engine
