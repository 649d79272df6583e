#pragma once

#include "headlines/UserInterface.h"

#include <string>

namespace cli {

// Message boxes and delivery failures go to standard error, one per line, in UTF-8; so does the
// progress of a long delivery when standard error is a terminal.
class CCliUserInterface : public IUserInterface {
public:
    void MessageBox(const std::string& text) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void PumpMessages(int /*maxMessages*/) override { ++m_pumpCalls; }
    void DeliveryFailed(const std::string& reason) override;
    void DeliveryProgress(long long sent, long long total) override;

    int FailureCount() const { return m_failures; }
    int PumpCalls() const { return m_pumpCalls; }

private:
    int m_failures = 0;
    int m_pumpCalls = 0;
    bool m_progressShown = false;
};

} // namespace cli
