#pragma once

#include "base/Failure.h"
#include "headlines/Fetch.h"

#include <string>

namespace tickerlux::engine {

// What the engine shows the user through the front end: the GUI, the CLI, a job and the tests
// each implement it. Texts are Windows-1252 bytes.
class IUserInterface {
public:
    virtual ~IUserInterface() = default;

    // A modal message box with an OK button (caption: the product name); the CLI prints it on
    // stderr.
    virtual void MessageBox(const std::string& text) = 0;

    // Nesting wait cursor around each command.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // Dispatches at most `maxMessages` pending events without waiting (after a USB delivery).
    virtual void PumpMessages(int maxMessages) = 0;

    // A download failed (after its message box), or the sign could not be reached, told once
    // per command. The desktop program stays silent; the CLI prints the cause. What a command
    // did is in its outcome either way.
    virtual void DownloadFailed(const base::Failure& /*failure*/) {}
    virtual void DeliveryFailed(const base::Failure& /*failure*/) {}

    // Asked during a download: true when the user wants the program to stop, which abandons
    // the download (a delivery under way finishes).
    virtual bool StopRequested() { return false; }
    // Asked during a delivery: true cuts it at once.
    virtual bool AbandonRequested() { return false; }

    // Progress: the page's bytes so far; a transmission of `total` bytes begins; its bytes
    // written so far. Front ends that show none ignore them.
    virtual void DownloadProgress(long long /*received*/) {}
    virtual void DeliveryStarted(long long /*total*/) {}
    virtual void DeliveryProgress(long long /*sent*/, long long /*total*/) {}

    // Another program holds the port ("COM3 (/dev/ttyS2)"); the delivery waits for it. Told once.
    virtual void WaitingForPort(const std::string& /*port*/) {}
};

// The limits of a download that `ui` hears and may stop: its progress, its stop request, and the
// given length, time limits and certificate authorities.
headlines::FetchLimits DownloadLimits(IUserInterface& ui, std::size_t maxLength,
                                      const headlines::TimeLimits& time, const std::string& caFile);

} // namespace tickerlux::engine
