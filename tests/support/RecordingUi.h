#pragma once

#include "headlines/UserInterface.h"

#include <functional>
#include <string>
#include <vector>

// Records everything the core shows the user, in order, for tests to assert on.
class CRecordingUi : public IUserInterface {
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
    void DeliveryFailed(const std::string& reason) override
    {
        failures.push_back(reason);
        events.push_back("failed:" + reason);
    }

    std::vector<std::string> messages;
    std::vector<std::string> failures;
    std::vector<std::string> events;
    int waitDepth = 0;
    int pumpCalls = 0;
    // Runs inside the pump, as a timer tick or button press dispatched there would.
    std::function<void(int)> onPump;
};
