// Delivery progress of tickerlux-cli on a terminal: shown only for a delivery that takes more than
// one step, ended with a line break, and cut by a failure.
#include "cli/CliUserInterface.h"
#include "tests/support/TestPty.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <string>
#include <unistd.h>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::engine;
using namespace tickerlux::cli;
using namespace tickerlux::test;

namespace {

// Runs `report` with standard error on a terminal and returns what the terminal received
// (its output processing turns each LF into CR LF).
std::string OnTerminal(const std::function<void()>& report)
{
    CTestPty terminal;
    const int slave = open(terminal.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    EXPECT_GE(slave, 0);
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(slave, STDERR_FILENO);
    report();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    close(slave);
    return terminal.Read(1 << 16);
}

TEST(CliProgressTest, OnlyALongDeliveryShowsProgress)
{
    const std::string shown = OnTerminal([] {
        cli::CCliUserInterface ui;
        ui.DeliveryProgress(28, 28);
        ui.DeliveryProgress(4096, 60033);
        ui.DeliveryProgress(60033, 60033);
        ui.DeliveryProgress(31, 31);
    });
    EXPECT_EQ(shown, "\rsending: 4096 of 60033 bytes\rsending: 60033 of 60033 bytes\r\n");
}

TEST(CliProgressTest, AFailureStartsOnALineOfItsOwn)
{
    const std::string shown = OnTerminal([] {
        cli::CCliUserInterface ui;
        ui.DeliveryProgress(256, 600);
        ui.DeliveryFailed({FailureKind::UsbRefused, "USB sign", "the transmission was not delivered"});
    });
    EXPECT_EQ(shown, "\rsending: 256 of 600 bytes\r\nUSB sign: the transmission was not "
                     "delivered\r\n");
}

} // namespace
