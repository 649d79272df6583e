#pragma once

#include "engine/UserInterface.h"

#include <string>

namespace tickerlux::cli {

// Message boxes and delivery failures go to standard error, one per line, in UTF-8; so does the
// progress of a long delivery when standard error is a terminal.
class CCliUserInterface : public engine::IUserInterface {
public:
    void MessageBox(const std::string& text) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void PumpMessages(int /*maxMessages*/) override { ++m_pumpCalls; }
    void DeliveryFailed(const base::Failure& failure) override;
    void DeliveryProgress(long long sent, long long total) override;

    // After the fetcher's message: "cause: connection refused (Failed to connect to ...)".
    void DownloadFailed(const base::Failure& failure) override;
    // "waiting for COM3 (/dev/pts/4), which another program is using…"
    void WaitingForPort(const std::string& port) override;

    int PumpCalls() const { return m_pumpCalls; }

protected:
    // Prints one UTF-8 line on standard error, ending a progress line first. A failure's text
    // (a device path, the system's words) is UTF-8 already and is printed as it is.
    virtual void PrintLine(const std::string& text);

private:
    int m_pumpCalls = 0;
    bool m_progressShown = false;
};

} // namespace tickerlux::cli
