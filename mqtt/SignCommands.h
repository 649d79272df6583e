#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace tickerlux::mqtt {

// How a job on the sign ended.
struct JobOutcome {
    bool succeeded = false;
    // In the words the program's messages use: "sign updated", "sign cleared", "message sent",
    // "update failed: connection refused (...)".
    std::string words;
};

// What the sign shows and how it got there, as the broker is told it.
struct SignState {
    std::string line;  // UTF-8: the line last delivered, empty after a clear or before any
    std::optional<std::chrono::system_clock::time_point> sentAt;  // when it was delivered
    std::string lastJob;      // the words of the last job's outcome; empty before any
    std::string feedAddress;  // UTF-8: the address of the feed's page
};

// The seam between the broker and the sign: the jobs the broker may ask for, and the state it
// is told. The bridge calls every member on one thread (the front end's), one job at a time.
class ISignCommands {
public:
    virtual ~ISignCommands() = default;

    // Delivers `line` (Windows-1252, ready for the sign) as `tickerlux-cli send` delivers a line:
    // memory configuration, write text, run sequence. Colour and mode, when not given, are the
    // feed's. It stays until the next update.
    virtual JobOutcome SendMessage(const std::string& line, std::optional<int> colorIndex,
                                   std::optional<bool> condensed) = 0;
    // "Update Sign Now".
    virtual JobOutcome UpdateNow() = 0;
    // "Clear Sign".
    virtual JobOutcome Clear() = 0;
    virtual SignState State() const = 0;
};

} // namespace tickerlux::mqtt
