#pragma once

#include "cli/CliUserInterface.h"

namespace cli {

// The CLI's user interface for a long-running command: every message and failure line starts
// with the local time, so a log shows when it happened.
class CWatchUserInterface : public CCliUserInterface {
public:
    void MessageBox(const std::string& text) override;

protected:
    void PrintLine(const std::string& text) override;
};

} // namespace cli
