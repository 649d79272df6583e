// Runs the USB link in a process of its own, so that the test decides through LD_LIBRARY_PATH,
// before the dynamic loader starts, which libbetabriteusb.so the link's dlopen finds. It is
// built without a RUNPATH, so only LD_LIBRARY_PATH and the system's folders are searched.
//
//   usblink-probe send-via-usb     SendViaUsb with the bytes of standard input
//
// What the user would see is appended to the fake library's call log (TICKERLUX_USBFAKE_LOG) as
// "message TEXT", so that one file shows library calls and messages in the order they happened.
// Standard output: "result 0|1".
#include "headlines/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/RecordingUi.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>

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
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: usblink-probe send-via-usb\n");
        return 2;
    }
    const std::string mode = argv[1];
    const std::string input{std::istreambuf_iterator<char>(std::cin),
                            std::istreambuf_iterator<char>()};
    const auto* data = reinterpret_cast<const unsigned char*>(input.data());
    const int length = static_cast<int>(input.size());

    CTickerluxDoc doc;
    CLoggingUi ui;
    CTickerluxEngine engine(doc, ui);
    bool result = false;
    if (mode == "send-via-usb") {
        result = engine.SendViaUsb(data, length);
    } else {
        std::fprintf(stderr, "usblink-probe: unknown mode %s\n", mode.c_str());
        return 2;
    }
    std::printf("result %d\n", result ? 1 : 0);
    return 0;
}
