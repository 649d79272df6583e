#pragma once

#include <cstddef>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

class CTickerluxDoc;
class IUserInterface;

// The update pipeline of the program, free of any GUI: it owns the page buffer, the sign line and
// the transmission buffer, and runs the fetch, extraction, encoding and delivery steps against
// one document. The desktop view and the CLI each own one. Its operations are defined in the
// folder of the subsystem that owns them (headlines/, sign/, link/).
class CTickerluxEngine {
public:
    static constexpr std::size_t kPageBufferSize = 200000;
    static constexpr std::size_t kMaxPageLength = kPageBufferSize - 1;
    static constexpr std::size_t kTransmissionBufferSize = 60033;

    CTickerluxEngine(CTickerluxDoc& doc, IUserInterface& ui);
    ~CTickerluxEngine();
    CTickerluxEngine(const CTickerluxEngine&) = delete;
    CTickerluxEngine& operator=(const CTickerluxEngine&) = delete;

    // Page fetcher: downloads WebPath from WebServer into the page buffer and SourceText.
    bool FetchPage();

    // Headline extractor: rebuilds m_signLine from a fresh download.
    void BuildSignLine();

    // The three update commands. Each returns false, doing nothing, when another command is
    // already running (one update at a time, also when a message box or the USB pump dispatches
    // a timer tick or a button press).
    bool OnUpdateSignNow();
    bool OnClearSign();
    bool OnUpdateSourceOnly();
    // "Update Sign Now" without the download: delivers `line` (Windows-1252) as the sign line.
    bool OnSendLine(const std::string& line);
    bool IsBusy() const { return m_busy; }

    // Sign text encoder: the write-text transmission for a NUL-terminated sign line, with the
    // document's ColorIndex and Condensed. `buffer` holds kTransmissionBufferSize bytes.
    void BuildTextTransmission(unsigned char* buffer, int& length, const char* line) const;

    // Packet framing.
    void BuildClearTransmission(unsigned char* buffer, int& length) const;
    void SendMemoryConfig(int textTransmissionLength);
    void SendRunSequence();
    int GetSignPort() const;

    // Sign link: delivers one whole transmission over the document's connection kind.
    void SendToSign(int port, const unsigned char* data, int length);
    // USB link: hands the transmission to libbetabriteusb.so in pieces of at most 256 bytes.
    bool SendViaUsb(const unsigned char* data, int length);

    // Replaces the real link for tests that check what would be delivered.
    using DeliveryHook = std::function<void(int port, const unsigned char* data, int length)>;
    void SetDeliveryHook(DeliveryHook hook) { m_deliveryHook = std::move(hook); }

    // The clock of the time stamp in the sign line (tests fix it).
    using Clock = std::function<std::time_t()>;
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    const std::string& SignLine() const { return m_signLine; }
    // Whether the download of the last BuildSignLine succeeded (its failure was already shown).
    bool PageFetched() const { return m_pageFetched; }
    const char* PageBuffer() const { return m_pageBuffer.get(); }
    const unsigned char* Transmission() const { return m_transmission.get(); }
    int TransmissionLength() const { return m_transmissionLength; }

private:
    class BusyScope;
    // The steps "Update Sign Now" and OnSendLine share: encode m_signLine, deliver memory
    // configuration, write text and run sequence, refresh the views.
    void DeliverSignLine();

    CTickerluxDoc& m_doc;
    IUserInterface& m_ui;
    std::unique_ptr<char[]> m_pageBuffer;
    std::string m_signLine;
    bool m_pageFetched = false;
    std::unique_ptr<unsigned char[]> m_transmission;
    int m_transmissionLength = 0;
    bool m_busy = false;
    DeliveryHook m_deliveryHook;
    Clock m_clock;
};
