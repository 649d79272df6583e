#include "tests/support/SignReception.h"

#include <gtest/gtest.h>

namespace tickerlux::test {

std::vector<std::string> SignReception::Kinds() const
{
    std::vector<std::string> kinds;
    for (const CSignSimProcess::Event& t : transmissions)
        kinds.push_back(t["kind"]);
    return kinds;
}

SignReception ReceiveTransmissions(CSignSimProcess& sign, std::size_t count)
{
    SignReception received;
    while (received.transmissions.size() < count) {
        const std::optional<CSignSimProcess::Event> event = sign.Next();
        if (!event) {
            ADD_FAILURE() << "the sign received only " << received.transmissions.size() << " of "
                          << count << " transmissions";
            break;
        }
        if ((*event)["event"] == "display")
            received.shown.push_back((*event)["text"]);
        if ((*event)["event"] != "transmission")
            continue;
        EXPECT_TRUE((*event)["errors"].empty()) << event->dump();
        received.transmissions.push_back(*event);
    }
    return received;
}

} // namespace tickerlux::test
