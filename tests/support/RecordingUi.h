#pragma once

#include "engine/UserInterface.h"

#include <functional>
#include <string>
#include <vector>

namespace tickerlux::test {

// Records everything the core shows the user, in order, for tests to assert on.
class CRecordingUi : public engine::IUserInterface {
public:
    void MessageBox(const std::string& text) override
    {
        messages.push_back(text);
        events.push_back("message:" + text);
    }
    void BeginWaitCursor() override
    {
        ++waitDepth;
        events.push_back("wait-on");
    }
    void EndWaitCursor() override
    {
        --waitDepth;
        events.push_back("wait-off");
    }
    void PumpMessages(int maxMessages) override
    {
        ++pumpCalls;
        events.push_back("pump");
        if (onPump)
            onPump(maxMessages);
    }
    void DownloadFailed(const base::Failure& failure) override
    {
        downloadFailures.push_back(failure);
    }
    void DeliveryFailed(const base::Failure& failure) override
    {
        failures.push_back(failure.Text());
        events.push_back("failed:" + failure.Text());
    }

    std::vector<std::string> messages;
    std::vector<std::string> failures;  // each failed delivery's text
    std::vector<base::Failure> downloadFailures;
    std::vector<std::string> events;
    int waitDepth = 0;
    int pumpCalls = 0;
    // Runs inside the pump, as a timer tick or button press dispatched there would.
    std::function<void(int)> onPump;
};

} // namespace tickerlux::test
