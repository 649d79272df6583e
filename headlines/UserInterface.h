#pragma once

#include <string>

// What the core shows the user through the front end: the GUI, the CLI and the tests each
// implement it. Texts are Windows-1252 bytes.
class IUserInterface {
public:
    virtual ~IUserInterface() = default;

    // A modal message box with an OK button (caption "Newsglow"); the CLI prints it on stderr.
    virtual void MessageBox(const std::string& text) = 0;

    // Nesting wait cursor around each command.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // Dispatches at most `maxMessages` pending events without waiting (after a USB delivery).
    virtual void PumpMessages(int maxMessages) = 0;

    // A delivery to the sign failed. The GUI stays silent; the CLI prints the reason and fails.
    virtual void DeliveryFailed(const std::string& reason) = 0;

    // Progress of a delivery in bytes; front ends that show none ignore it.
    virtual void DeliveryProgress(long long /*sent*/, long long /*total*/) {}
};
