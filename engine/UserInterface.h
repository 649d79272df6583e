#pragma once

#include "base/Failure.h"

#include <string>

namespace tickerlux::engine {

// What the engine shows the user through the front end: the GUI, the CLI and the tests each
// implement it. Texts are Windows-1252 bytes.
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

    // A download failed (after its message box) or a delivery to the sign failed, told as it
    // happens. The desktop program stays silent; the CLI prints the cause. What a command did is
    // in its outcome either way.
    virtual void DownloadFailed(const base::Failure& /*failure*/) {}
    virtual void DeliveryFailed(const base::Failure& /*failure*/) {}

    // Asked during a download: true when the user wants the program to stop, which abandons
    // the download (a delivery is never cut short).
    virtual bool StopRequested() { return false; }

    // Progress of a delivery in bytes; front ends that show none ignore it.
    virtual void DeliveryProgress(long long /*sent*/, long long /*total*/) {}
};

} // namespace tickerlux::engine
