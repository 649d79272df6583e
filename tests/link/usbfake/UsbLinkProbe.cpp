// Runs the USB link in a process of its own, so that the test decides through LD_LIBRARY_PATH,
// before the dynamic loader starts, which libbetabriteusb.so the link's dlopen finds. It is
// built without a RUNPATH, so only LD_LIBRARY_PATH and the system's folders are searched.
//
//   usblink-probe send-via-usb       SendViaUsb with the bytes of standard input
//   usblink-probe send-to-sign       SendToSign with them, the connection set to USB and the
//                                    serial settings set to values the serial path would correct
//   usblink-probe clear-with-tick    Clear Sign over USB, with an Update Sign Now arriving in
//                                    the pump as a timer tick would
//
// What the user would see is appended to the fake library's call log (TICKERLUX_USBFAKE_LOG) as
// "message TEXT", "pump N", "failed REASON" and "tick ran|refused", so that one file shows
// library calls and the user interface in the order they happened.
// Standard output: "result 0|1" for send-via-usb, then the serial settings of the document.
#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/RecordingUi.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::test;

namespace {

void AppendToLog(const std::string& line)
{
    const char* path = std::getenv("TICKERLUX_USBFAKE_LOG");
    if (!path)
        return;
    if (FILE* log = std::fopen(path, "a")) {
        std::fprintf(log, "%s\n", line.c_str());
        std::fclose(log);
    }
}

class CLoggingUi : public CRecordingUi {
public:
    void MessageBox(const std::string& text) override
    {
        AppendToLog("message " + text);
        CRecordingUi::MessageBox(text);
    }
    void PumpMessages(int maxMessages) override
    {
        AppendToLog("pump " + std::to_string(maxMessages));
        CRecordingUi::PumpMessages(maxMessages);
    }
    void DeliveryFailed(const Failure& failure) override
    {
        AppendToLog("failed " + failure.Text());
        CRecordingUi::DeliveryFailed(failure);
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: usblink-probe send-via-usb|send-to-sign|clear-with-tick\n");
        return 2;
    }
    const std::string mode = argv[1];
    std::ostringstream standardInput;
    standardInput << std::cin.rdbuf();
    const std::string input = std::move(standardInput).str();
    const Transmission transmission(input.begin(), input.end());

    CTickerluxDoc doc;
    doc.Comm.Connection = settings::ConnectionKindOf("usb - betabrite prism");
    doc.Comm.ComPort = 0;
    doc.Comm.BaudRate = 0;
    doc.Comm.ByteSize = 6;
    doc.Comm.Parity = settings::Parity::Unset;
    CLoggingUi ui;
    CTickerluxEngine engine(doc, ui);
    if (mode == "send-via-usb") {
        std::printf("result %d\n", engine.SendViaUsb(transmission).Failed() ? 0 : 1);
    } else if (mode == "send-to-sign") {
        engine.SendToSign(engine.GetSignPort(), transmission);
    } else if (mode == "clear-with-tick") {
        ui.onPump = [&engine](int) {
            AppendToLog(engine.OnUpdateSignNow().Ran() ? "tick ran" : "tick refused");
        };
        engine.OnClearSign();
    } else {
        std::fprintf(stderr, "usblink-probe: unknown mode %s\n", mode.c_str());
        return 2;
    }
    std::printf("ComPort=%d BaudRate=%d ByteSize=%d Parity=%s\n", doc.Comm.ComPort, doc.Comm.BaudRate,
                doc.Comm.ByteSize, settings::ParityName(doc.Comm.Parity));
    return 0;
}
